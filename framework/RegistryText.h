// The one way both programs read a registry value: the key opened for reading only (KEY_READ),
// one read, the key closed again. The programs work in the registry view of their own build: the
// shipped i686 programs, Setup and Uninstall alike, in the 32-bit view of a 64-bit Windows.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"

// Reads a value of any type as text into strValue, which is emptied first and filled only on
// success. FALSE when the key or the value cannot be read, or the value's data takes more than
// nMaxBytes bytes. The text ends at the first zero byte or with the data: data that fills the
// bytes need not end with a zero.
BOOL AfxReadRegText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValueName, DWORD nMaxBytes, CString& strValue);
