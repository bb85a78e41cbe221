#include "TestFiles.h"

#include <windows.h>

std::string TestProgramFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string TestControlPath() {
    return TestProgramFolder() + "TestControl.ocx";
}

std::string NoEntryControlPath() {
    return TestProgramFolder() + "NoEntry.ocx";
}

namespace {

// The test modules' markers: values under HKEY_CURRENT_USER\Software\PindlemarkTests\<area>.
std::string Marker(const char* area, const std::string& name) {
    char data[512] = "";
    DWORD size = sizeof data - 1;
    HKEY key;
    const std::string path = std::string("Software\\PindlemarkTests\\") + area;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    LONG rc = RegQueryValueExA(key, name.c_str(), NULL, NULL, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? std::string(data) : std::string();
}

}  // namespace

std::string ControlMarker(const std::string& modulePath) {
    return Marker("Controls", modulePath);
}

std::string LoadMarkerPath() {
    return TestProgramFolder() + "LoadMarker.dll";
}

std::string LoadedBy(const std::string& modulePath) {
    return Marker("Loads", modulePath);
}

std::string SearchControlPath() {
    return TestProgramFolder() + "SearchControl.ocx";
}

std::string SearchImportPath() {
    return TestProgramFolder() + "SearchImport.dll";
}

std::string SearchControlFound(const std::string& entry, const std::string& moduleName) {
    return Marker("Search", entry + " " + moduleName);
}

void ForgetSearchMarkers() {
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\PindlemarkTests\\Loads");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\PindlemarkTests\\Search");
}
