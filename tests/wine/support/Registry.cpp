#include "Registry.h"

#include "GbkText.h"

namespace {

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

}  // namespace

RegValue ReadRegValue(HKEY root, const std::string& key, const std::string& name) {
    // Texts come back as GBK with their NULs, as a narrow read gives them on a Chinese Windows.
    RegValue value;
    HKEY opened;
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return value;
    const std::wstring wideName = Wide(name);
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExW(opened, wideName.c_str(), NULL, &type, NULL, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (RegQueryValueExW(opened, wideName.c_str(), NULL, &type, reinterpret_cast<BYTE*>(&data[0]),
                             &size) == ERROR_SUCCESS) {
            data.resize(size);
            value.type = type;
            value.data = IsTextType(type) ? Gbk(std::wstring(reinterpret_cast<const wchar_t*>(data.data()),
                                                             data.size() / sizeof(wchar_t)))
                                          : data;
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
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

bool CreateRegKey(HKEY root, const std::string& key) {
    HKEY created;
    if (RegCreateKeyExW(root, Wide(key).c_str(), 0, NULL, 0, KEY_READ, NULL, &created, NULL) != ERROR_SUCCESS)
        return false;
    RegCloseKey(created);
    return true;
}

bool WriteRegValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                   const std::string& data) {
    HKEY created;
    if (RegCreateKeyExW(root, Wide(key).c_str(), 0, NULL, 0, KEY_SET_VALUE, NULL, &created, NULL) !=
        ERROR_SUCCESS)
        return false;
    // A text is given as GBK with its NULs and stored as the system keeps texts, in UTF-16.
    const std::wstring wideText = IsTextType(type) ? Wide(data) : std::wstring();
    const BYTE* bytes = IsTextType(type) ? reinterpret_cast<const BYTE*>(wideText.data())
                                         : reinterpret_cast<const BYTE*>(data.data());
    const DWORD size = static_cast<DWORD>(IsTextType(type) ? wideText.size() * sizeof(wchar_t) : data.size());
    const LONG result = RegSetValueExW(created, Wide(name).c_str(), 0, type, bytes, size);
    RegCloseKey(created);
    return result == ERROR_SUCCESS;
}

bool WriteRegString(HKEY root, const std::string& key, const std::string& name, const std::string& text) {
    return WriteRegValue(root, key, name, REG_SZ, SzData(text));
}

void DeleteRegValue(HKEY root, const std::string& key, const std::string& name) {
    HKEY opened;
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    RegDeleteValueW(opened, Wide(name).c_str());
    RegCloseKey(opened);
}

namespace {

// Value names (subkeys false) or subkey names (true) of a key.
std::vector<std::string> RegNames(HKEY root, const std::string& key, bool subkeys) {
    std::vector<std::string> names;
    HKEY opened;
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return names;
    wchar_t name[16384];
    for (DWORD i = 0;; ++i) {
        DWORD size = 16384;
        const LONG result = subkeys ? RegEnumKeyExW(opened, i, name, &size, NULL, NULL, NULL, NULL)
                                    : RegEnumValueW(opened, i, name, &size, NULL, NULL, NULL, NULL);
        if (result != ERROR_SUCCESS) break;
        names.push_back(Gbk(std::wstring(name, size)));
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
    RegDeleteKeyW(root, Wide(key).c_str());
}
