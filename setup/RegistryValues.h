// Registry value helpers of Setup: each opens one key, does one read or one write, closes the key
// and says whether it succeeded. Nothing is reported to the user.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"

// Texts pass through buffers of this size, terminating zero included.
const DWORD REG_TEXT_BUFFER_SIZE = 2048;

// Reads a value of any type under HKEY_LOCAL_MACHINE (HKEY_CURRENT_USER) as text. strValue is
// emptied first and filled only on success. The value's data may take at most
// REG_TEXT_BUFFER_SIZE bytes; the text ends at the first zero byte or with the data.
BOOL GetMachineRegString(const char* pszKey, const char* pszValueName, CString& strValue);
BOOL GetUserRegString(const char* pszKey, const char* pszValueName, CString& strValue);

// Write under HKEY_LOCAL_MACHINE, creating the key and any missing keys above it. A text is
// written as REG_SZ with its terminating zero; one of REG_TEXT_BUFFER_SIZE bytes or more is
// refused before anything is created.
BOOL SetMachineRegString(const char* pszKey, const char* pszValueName, const char* pszText);
BOOL SetMachineRegDword(const char* pszKey, const char* pszValueName, DWORD dwValue);
