// CButton: a push button, check box or radio button ("BUTTON" class). An owner-drawn button
// (BS_OWNERDRAW) draws itself in DrawItem, which its parent's WM_DRAWITEM reaches by reflection.
#pragma once
#include <windows.h>

#include "framework/Wnd.h"

class CButton : public CWnd {
public:
    BOOL Create(LPCSTR pszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);

    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, bHighlight); }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }

    // Draws an owner-drawn button; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT pDrawItem);

    BOOL OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};
