// Basic types shared by the platform-free code and the Win32 layer.
// The definitions match <windows.h>, so either header may come first.
#pragma once

typedef int BOOL;

#ifndef TRUE
#define TRUE 1
#endif

#ifndef FALSE
#define FALSE 0
#endif
