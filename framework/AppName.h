// The application's name: the program file's name without folder and extension, as message
// boxes without a caption and the failure trace show it.
#pragma once
#include <windows.h>

LPCSTR AfxGetAppName();
