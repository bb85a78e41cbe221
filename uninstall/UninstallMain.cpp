// Uninstall's entry point. The uninstall dialog comes with the application object.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
