// The prefix's real registry as the tests read and change it: values with their type and bytes,
// texts, keys made and removed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A value as the tests see it: its type and raw bytes; REG_NONE with no bytes when it is missing.
struct RegValue {
    DWORD type = REG_NONE;
    std::string data;
};
RegValue ReadRegValue(HKEY root, const std::string& key, const std::string& name);
// The text of a REG_SZ value, up to its zero; false when the value is missing or of another type.
bool ReadRegString(HKEY root, const std::string& key, const std::string& name, std::string& text);
// The bytes of a REG_SZ (the text and its zero) and of a REG_DWORD.
std::string SzData(const std::string& text);
std::string DwordData(DWORD value);

bool RegKeyExists(HKEY root, const std::string& key);
// Makes the key and the missing keys above it.
bool CreateRegKey(HKEY root, const std::string& key);
// Writes a value of any type with exactly these bytes, making its key.
bool WriteRegValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                   const std::string& data);
bool WriteRegString(HKEY root, const std::string& key, const std::string& name, const std::string& text);
void DeleteRegValue(HKEY root, const std::string& key, const std::string& name);
// The names of a key's values and of its subkeys, in the registry's order; none when the key
// cannot be opened.
std::vector<std::string> RegValueNames(HKEY root, const std::string& key);
std::vector<std::string> RegSubkeyNames(HKEY root, const std::string& key);
// Removes the key with everything below it. An empty path does nothing: it would name the hive.
void DeleteRegTree(HKEY root, const std::string& key);
