#include "Registry.h"

RegValue ReadRegValue(HKEY root, const std::string& key, const std::string& name) {
    RegValue value;
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return value;
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExA(opened, name.c_str(), NULL, &type, NULL, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExA(opened, name.c_str(), NULL, &type, reinterpret_cast<BYTE*>(&value.data[0]),
                             &size) == ERROR_SUCCESS) {
            value.type = type;
            value.data.resize(size);
        } else {
            value.data.clear();
        }
    }
    RegCloseKey(opened);
    return value;
}

bool ReadRegString(HKEY root, const std::string& key, const std::string& name, std::string& text) {
    const RegValue value = ReadRegValue(root, key, name);
    if (value.type != REG_SZ) return false;
    text = value.data.substr(0, value.data.find('\0'));
    return true;
}

std::string SzData(const std::string& text) {
    return text + '\0';
}

std::string DwordData(DWORD value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

bool RegKeyExists(HKEY root, const std::string& key) {
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

bool CreateRegKey(HKEY root, const std::string& key) {
    HKEY created;
    if (RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_READ, NULL, &created, NULL) != ERROR_SUCCESS)
        return false;
    RegCloseKey(created);
    return true;
}

bool WriteRegValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                   const std::string& data) {
    HKEY created;
    if (RegCreateKeyExA(root, key.c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &created, NULL) != ERROR_SUCCESS)
        return false;
    const LONG result =
        RegSetValueExA(created, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
    RegCloseKey(created);
    return result == ERROR_SUCCESS;
}

bool WriteRegString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    return WriteRegValue(root, key, name, REG_SZ, SzData(text));
}

void DeleteRegValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    RegDeleteValueA(opened, name.c_str());
    RegCloseKey(opened);
}

namespace {

// Value names (subkeys false) or subkey names (true) of a key.
std::vector<std::string> RegNames(HKEY root, const std::string& key, bool subkeys) {
    std::vector<std::string> names;
    HKEY opened;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return names;
    char name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        const LONG result = subkeys ? RegEnumKeyExA(opened, i, name, &size, NULL, NULL, NULL, NULL)
                                    : RegEnumValueA(opened, i, name, &size, NULL, NULL, NULL, NULL);
        if (result != ERROR_SUCCESS) break;
        names.push_back(std::string(name, size));
    }
    RegCloseKey(opened);
    return names;
}

}  // namespace

std::vector<std::string> RegValueNames(HKEY root, const std::string& key) {
    return RegNames(root, key, false);
}

std::vector<std::string> RegSubkeyNames(HKEY root, const std::string& key) {
    return RegNames(root, key, true);
}

void DeleteRegTree(HKEY root, const std::string& key) {
    if (key.empty()) return;
    for (const std::string& child : RegSubkeyNames(root, key)) DeleteRegTree(root, key + "\\" + child);
    RegDeleteKeyA(root, key.c_str());
}
