// The system's text for an error code.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"

// FormatMessageA in the user's default language, as the system gives it (usually ending in
// CR LF); empty when the system has none.
CString AfxGetSystemErrorText(DWORD dwError);
