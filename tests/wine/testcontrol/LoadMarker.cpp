// A module that tells on every process that loads it, under whatever name it was copied: its
// DllMain leaves a value under HKEY_CURRENT_USER\Software\PindlemarkTests\Loads named by its own
// path, holding the path of the program that loaded it. Tests plant copies where a program must
// not look for modules ("comctl32.dll" beside Setup.exe, a control's helper beside Uninstall.exe).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char self[MAX_PATH] = "", program[MAX_PATH] = "";
    GetModuleFileNameA(instance, self, MAX_PATH);
    GetModuleFileNameA(NULL, program, MAX_PATH);
    HKEY key;
    if (RegCreateKeyA(HKEY_CURRENT_USER, "Software\\PindlemarkTests\\Loads", &key) == ERROR_SUCCESS) {
        RegSetValueExA(key, self, 0, REG_SZ, reinterpret_cast<const BYTE*>(program), lstrlenA(program) + 1);
        RegCloseKey(key);
    }
    return TRUE;
}
