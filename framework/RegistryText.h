// The one way both programs read a registry value: the key opened for reading only (KEY_READ),
// one read, the key closed again. The programs work in the registry view of their own build: the
// shipped i686 programs, Setup and Uninstall alike, in the 32-bit view of a 64-bit Windows.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"

// Reads a value of any type as text into strValue (GBK), which is emptied first and filled only on
// success. FALSE when the key or the value cannot be read, the value's data takes more than
// nMaxBytes bytes, or a text value has a character that GBK cannot hold. A text value is read as
// the system stores it (UTF-16) and ends at its first NUL; the data of another type is taken as
// bytes up to the first zero byte or to its end.
BOOL AfxReadRegText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValueName, DWORD nMaxBytes, CString& strValue);
