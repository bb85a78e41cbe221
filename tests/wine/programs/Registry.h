// Registry reads for the tests, against the prefix's real registry.
#pragma once
#include <windows.h>

#include <string>

bool ReadRegString(HKEY root, const std::string& key, const std::string& value, std::string& data);
bool ReadRegDword(HKEY root, const std::string& key, const std::string& value, DWORD& data);
bool RegKeyExists(HKEY root, const std::string& key);
void WriteRegString(HKEY root, const std::string& key, const std::string& value, const std::string& data);
void DeleteRegTree(HKEY root, const std::string& key);
