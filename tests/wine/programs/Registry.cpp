#include "Registry.h"

#include <shlwapi.h>

bool ReadRegString(HKEY root, const std::string& key, const std::string& value, std::string& data) {
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    char buffer[4096];
    DWORD size = sizeof buffer - 1, type = 0;
    LONG rc = RegQueryValueExA(h, value.c_str(), NULL, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
    buffer[size] = '\0';
    data = buffer;
    return true;
}

bool ReadRegDword(HKEY root, const std::string& key, const std::string& value, DWORD& data) {
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    DWORD size = sizeof data, type = 0;
    LONG rc = RegQueryValueExA(h, value.c_str(), NULL, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

bool RegKeyExists(HKEY root, const std::string& key) {
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

void WriteRegString(HKEY root, const std::string& key, const std::string& value, const std::string& data) {
    HKEY h;
    if (RegCreateKeyA(root, key.c_str(), &h) != ERROR_SUCCESS) return;
    RegSetValueExA(h, value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
    RegCloseKey(h);
}

void DeleteRegTree(HKEY root, const std::string& key) {
    SHDeleteKeyA(root, key.c_str());
}
