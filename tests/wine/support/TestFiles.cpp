#include "TestFiles.h"

#include "GbkText.h"
#include "Registry.h"

namespace {

// The test modules' markers: values under HKEY_CURRENT_USER\Software\PindlemarkTests\<area>.
std::string MarkerKey(const char* area) {
    return std::string("Software\\PindlemarkTests\\") + area;
}

std::string Marker(const char* area, const std::string& name) {
    std::string text;
    return ReadRegString(HKEY_CURRENT_USER, MarkerKey(area), name, text) ? text : std::string();
}

}  // namespace

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

std::string ControlMarker(const std::string& modulePath) {
    return Marker("Controls", modulePath);
}

void ForgetControlMarker(const std::string& modulePath) {
    DeleteRegValue(HKEY_CURRENT_USER, MarkerKey("Controls"), modulePath);
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
    DeleteRegTree(HKEY_CURRENT_USER, MarkerKey("Loads"));
    DeleteRegTree(HKEY_CURRENT_USER, MarkerKey("Search"));
}

HRESULT CallEntryPoint(const std::string& modulePath, const char* entry) {
    HMODULE module = LoadLibraryW(Wide(modulePath).c_str());
    if (module == NULL) return kNoModule;
    typedef HRESULT(WINAPI * EntryPoint)();
    EntryPoint function =
        reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, entry)));
    const HRESULT result = function != NULL ? function() : kNoEntry;
    FreeLibrary(module);
    return result;
}

std::string SystemHhctrlPath() {
    return "C:\\windows\\system32\\hhctrl.ocx";
}

void RegisterSystemHhctrl() {
    CallEntryPoint(SystemHhctrlPath(), "DllRegisterServer");
}
