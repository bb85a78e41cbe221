// A control that, like some of the add-on's, loads helper modules by bare name in its
// self-registration entry points, and imports SearchImport.dll at load time. Each entry point
// asks for "SearchHelper.dll" and "SearchPlanted.dll" and leaves under
// HKEY_CURRENT_USER\Software\PindlemarkTests\Search a value named "<entry point> <module>" with
// the full path of the module the system gave it, or "not found". Tests put a SearchHelper.dll
// beside the control and plant both beside the program.
#include <windows.h>

extern "C" __declspec(dllimport) int PmSearchImport();

namespace {

const char* const kHelpers[] = {"SearchHelper.dll", "SearchPlanted.dll"};

void Mark(const char* entry, const char* helper, const char* found) {
    char name[128];
    wsprintfA(name, "%s %s", entry, helper);
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\PindlemarkTests\\Search", &key) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(found), lstrlenA(found) + 1);
    RegCloseKey(key);
}

HRESULT LoadHelpers(const char* entry) {
    if (PmSearchImport() != 42) return E_FAIL;
    for (const char* helper : kHelpers) {
        HMODULE module = LoadLibraryA(helper);
        char found[MAX_PATH] = "not found";
        if (module != NULL) {
            if (GetModuleFileNameA(module, found, MAX_PATH) == 0) lstrcpyA(found, "no path");
            FreeLibrary(module);
        }
        Mark(entry, helper, found);
    }
    return S_OK;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

extern "C" HRESULT WINAPI DllRegisterServer() {
    return LoadHelpers("DllRegisterServer");
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    return LoadHelpers("DllUnregisterServer");
}
