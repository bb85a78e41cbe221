#include "framework/WndClass.h"

#include <cstdio>

#include "framework/WideText.h"

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    // The name encodes the arguments, so asking twice gives the same registered class.
    static thread_local char s_szName[96];
    std::snprintf(s_szName, sizeof(s_szName), "PmWnd:%x:%p:%p:%p", nClassStyle, static_cast<void*>(hCursor),
                  static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    const CWideText name(s_szName);  // ASCII
    HINSTANCE hInst = ::GetModuleHandleW(NULL);
    WNDCLASSW wc;
    if (::GetClassInfoW(hInst, name, &wc)) return s_szName;
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInst;
    wc.hIcon = hIcon;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.lpszMenuName = NULL;
    wc.lpszClassName = name;
    return ::RegisterClassW(&wc) != 0 ? s_szName : NULL;
}
