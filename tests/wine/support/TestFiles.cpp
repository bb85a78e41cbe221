#include "TestFiles.h"

#include <windows.h>

std::string TestProgramFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string TestControlPath() { return TestProgramFolder() + "TestControl.ocx"; }

std::string NoEntryControlPath() { return TestProgramFolder() + "NoEntry.ocx"; }

std::string ControlMarker(const std::string& modulePath) {
    char data[512] = "";
    DWORD size = sizeof data - 1;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\PindlemarkTests\\Controls", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    LONG rc = RegQueryValueExA(key, modulePath.c_str(), NULL, NULL, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(data) : std::string();
}
