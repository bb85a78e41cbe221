// CStatic: a static-text control ("STATIC" class).
#pragma once
#include <windows.h>

#include "framework/Wnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(LPCSTR pszText, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID = 0xFFFF) {
        return CreateEx(0, "STATIC", pszText, dwStyle, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, pParent != NULL ? pParent->m_hWnd : NULL,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
    }
};
