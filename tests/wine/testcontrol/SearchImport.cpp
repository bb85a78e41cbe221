// Imported by SearchControl.ocx at load time: a control finds it only when its own folder is
// searched for what it imports.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

extern "C" __declspec(dllexport) int PmSearchImport() {
    return 42;
}
