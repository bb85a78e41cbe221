// Every message box of the programs goes through AfxShowMessageBox, so that tests can answer
// prompts and reports through a seam instead of a person.
#pragma once
#include <windows.h>

// Answers a message box in place of the user: gets what MessageBoxA would get (the caption
// already resolved to the application name when none was passed) and returns the button id.
typedef int (*PFN_MESSAGEBOX_HOOK)(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType);

// Installs a hook (null restores the real message box); returns the previous one.
PFN_MESSAGEBOX_HOOK AfxSetMessageBoxHook(PFN_MESSAGEBOX_HOOK pfnHook);

// MessageBoxA, or the hook when one is set. A null caption shows the application's name.
int AfxShowMessageBox(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType);
