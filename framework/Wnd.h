// CWnd: a window object over an HWND. This is the part that worker threads need: the handle and
// sending to it. Window procedures, message maps and subclassing build on it for the dialogs.
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"

class CWnd {
public:
    CWnd() : m_hWnd(NULL) {}
    virtual ~CWnd() {}

    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, nMsg, wParam, lParam);
    }
    BOOL PostMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, nMsg, wParam, lParam);
    }
    // A message box owned by this window; a null caption shows the application's name.
    int MessageBox(LPCSTR pszText, LPCSTR pszCaption = NULL, UINT nType = MB_OK) const;

    HWND m_hWnd;
};
