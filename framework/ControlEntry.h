// The add-on's controls register and unregister themselves: each is a module exporting
// DllRegisterServer and DllUnregisterServer, which take nothing and return an HRESULT.
#pragma once
#include <windows.h>

// Loads the control at a full path, calls its entry point pszEntry and unloads it; TRUE only
// when the entry point exists and returned S_OK. The modules the control imports come from its
// own folder and System32 (see AfxLoadLibraryFrom). While the entry point runs, what it loads by
// bare name is also looked for in the control's folder, never in the program's or the current
// one. The system's error boxes stay off throughout.
BOOL AfxCallControlEntry(LPCSTR pszPath, LPCSTR pszEntry);
