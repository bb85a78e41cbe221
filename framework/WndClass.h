// A window class for plain windows of our own (frames, test and gallery windows). Its procedure
// is DefWindowProcA; CreateEx attaches the object, whose message map does the rest.
#pragma once
#include <windows.h>

// Registers (once per distinct set of arguments) and returns the class name. Null on failure.
LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = NULL, HBRUSH hbrBackground = NULL,
                           HICON hIcon = NULL);
