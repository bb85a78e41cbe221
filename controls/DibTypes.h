// The few Win32 value types that the platform-free drawing code shares with the Win32 layer.
// The definitions are those of <windows.h>, so either header may come first.
#pragma once

#include "framework/BaseTypes.h"

typedef unsigned char BYTE;
typedef unsigned int UINT;
typedef unsigned long COLORREF;  // 0x00BBGGRR

inline int ColorRed(COLORREF cr) {
    return static_cast<int>(cr & 0xFF);
}
inline int ColorGreen(COLORREF cr) {
    return static_cast<int>((cr >> 8) & 0xFF);
}
inline int ColorBlue(COLORREF cr) {
    return static_cast<int>((cr >> 16) & 0xFF);
}
inline COLORREF MakeColor(int nRed, int nGreen, int nBlue) {
    return static_cast<COLORREF>((nRed & 0xFF) | ((nGreen & 0xFF) << 8) | ((nBlue & 0xFF) << 16));
}
