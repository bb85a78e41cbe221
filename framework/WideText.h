// The one place where the programs' narrow texts cross to the wide (UTF-16) functions of the
// system. The narrow texts are read in the ANSI code page.
#pragma once
#include <windows.h>

// Converts the NUL-terminated text into pwszWide, a buffer of nWide characters. FALSE when it
// does not fit whole or is not valid in the code page; the buffer's content is then undefined.
BOOL AfxNarrowToWide(LPCSTR pszText, LPWSTR pwszWide, int nWide);
