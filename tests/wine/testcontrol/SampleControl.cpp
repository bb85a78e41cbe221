// The sample add-on's control for tools/release: it registers a class as an ActiveX control does
// (HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32 naming the module) and removes it again, so that a
// release's trial install shows a registration written and taken away without residue.
#include <windows.h>

namespace {

HMODULE g_module = NULL;
const char kClassKey[] = "CLSID\\{6F1C2A5E-3B7D-4E8A-9C21-5D4B7A0E9F13}";
const char kServerKey[] = "CLSID\\{6F1C2A5E-3B7D-4E8A-9C21-5D4B7A0E9F13}\\InprocServer32";
const char kClassName[] = "Pindlemark sample control";
const char kThreading[] = "Apartment";

LONG SetString(HKEY key, const char* name, const char* text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" HRESULT WINAPI DllRegisterServer() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return E_FAIL;
    HKEY key;
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, kClassKey, &key) != ERROR_SUCCESS) return E_FAIL;
    LONG result = SetString(key, NULL, kClassName);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || RegCreateKeyA(HKEY_CLASSES_ROOT, kServerKey, &key) != ERROR_SUCCESS)
        return E_FAIL;
    result = SetString(key, NULL, path);
    if (result == ERROR_SUCCESS) result = SetString(key, "ThreadingModel", kThreading);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? S_OK : E_FAIL;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kServerKey);
    LONG result = RegDeleteKeyA(HKEY_CLASSES_ROOT, kClassKey);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : E_FAIL;
}
