// The system's common controls (the dialogs' progress bars), from System32's comctl32.dll.
#pragma once
#include <windows.h>

// Registers the window classes of the given ICC_ classes. comctl32.dll is no known DLL: imported
// or loaded by name, it would be looked for in the program's folder first, so it is loaded by
// its full path, once, and stays loaded for the process's life (the classes live in it).
BOOL AfxInitCommonControls(DWORD dwClasses);
