// A loadable module without the self-registration entry points.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}

extern "C" __declspec(dllexport) int PmNothingHere() {
    return 0;
}
