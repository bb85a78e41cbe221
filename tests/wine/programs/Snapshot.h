// What a test sees of the machine, to show that an install and its removal leave it as they
// found it: every file of drive C: and every key and value of HKLM\SOFTWARE, HKCU\Software and
// HKEY_CLASSES_ROOT, but for what the tests themselves and Wine change meanwhile.
#pragma once
#include <windows.h>

#include <map>
#include <string>

// Path (files: "C:\...", keys: "HKLM\SOFTWARE\...", values: key path + " = name") -> what it is
// (a folder, a file's size, a key, a value's type and a hash of its data).
typedef std::map<std::wstring, std::string> Snapshot;

Snapshot TakeSnapshot();

// The differences, one a line, except what the design leaves behind on purpose (the CAD
// releases' application keys, the keys above the product key, the folder above the install
// folder). Empty when the two agree.
std::string Differences(const Snapshot& before, const Snapshot& after);

std::wstring WideText(const std::string& text);  // from the ANSI code page
