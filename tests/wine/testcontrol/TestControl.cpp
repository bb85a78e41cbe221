// A stand-in for one of the add-on's ActiveX controls. Its self-registration entry points leave a
// marker under HKEY_CURRENT_USER\Software\PindlemarkTests\Controls, one value per module path,
// so tests can see which entry point ran on which copy:
//   "registered"                  after DllRegisterServer
//   "unregistered"                after DllUnregisterServer, the module file still present
//   "unregistered-without-file"   after DllUnregisterServer, the module file already gone
// What the entry points return depends on the copy's file name: a name containing "sfalse"
// returns S_FALSE, one containing "fail" returns E_FAIL, any other S_OK.
#include <windows.h>

#include <string.h>

namespace {

HMODULE g_module = NULL;

void ModulePath(char* path, DWORD size) {
    DWORD n = GetModuleFileNameA(g_module, path, size);
    if (n == 0 || n >= size) path[0] = '\0';
}

HRESULT ResultForName(const char* path) {
    char lower[MAX_PATH];
    lstrcpynA(lower, path, MAX_PATH);
    CharLowerA(lower);
    const char* name = strrchr(lower, '\\');
    name = name ? name + 1 : lower;
    if (strstr(name, "sfalse")) return S_FALSE;
    if (strstr(name, "fail")) return E_FAIL;
    return S_OK;
}

void Mark(const char* path, const char* state) {
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\PindlemarkTests\\Controls", &key) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, path, 0, REG_SZ, reinterpret_cast<const BYTE*>(state), lstrlenA(state) + 1);
    RegCloseKey(key);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" HRESULT WINAPI DllRegisterServer() {
    char path[MAX_PATH];
    ModulePath(path, MAX_PATH);
    Mark(path, "registered");
    return ResultForName(path);
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    char path[MAX_PATH];
    ModulePath(path, MAX_PATH);
    Mark(path,
         GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? "unregistered" : "unregistered-without-file");
    return ResultForName(path);
}
