#include "framework/WndClass.h"

#include <cstdio>

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    // The name encodes the arguments, so asking twice gives the same registered class.
    static thread_local char s_szName[96];
    std::snprintf(s_szName, sizeof(s_szName), "PmWnd:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor),
                  static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    HINSTANCE hInst = ::GetModuleHandleA(NULL);
    WNDCLASSA wc;
    if (::GetClassInfoA(hInst, s_szName, &wc)) return s_szName;
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszMenuName = NULL;
    wc.lpszClassName = s_szName;
    return ::RegisterClassA(&wc) != 0 ? s_szName : NULL;
}
