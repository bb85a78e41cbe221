// CTexturedButton: an owner-drawn push button whose face is a generated relief picture. The
// face lightens under the mouse, shifts one pixel into a sunken edge while pressed, shows
// embossed text when disabled and a dotted frame with the focus. Attached by subclassing a
// template's push button; BuildFaces makes the pictures once the window exists.
#pragma once
#include <windows.h>

#include "controls/DibImage.h"
#include "framework/Button.h"

class CTexturedButton : public CButton {
public:
    CTexturedButton();
    ~CTexturedButton() override;

    // Builds the six images for the window's present size: pattern 6 or 7, grain strength,
    // hot face nHotPercent toward the highlight colour, every face nTintPercent toward crTint.
    BOOL BuildFaces(UINT nPattern, BYTE nGrain, BYTE nHotPercent, BYTE nTintPercent, COLORREF crTint);

    void DrawItem(LPDRAWITEMSTRUCT pDrawItem) override;

protected:
    void PreSubclassWindow() override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseLeave();
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Keeps the native pushed state in step with whether the cursor is over a held button;
    // TRUE when it had to change it (the platform then draws the button again).
    BOOL SyncPushedState();
    BOOL HasCapture() const { return ::GetCapture() == m_hWnd; }
    BOOL TrackLeave(DWORD dwFlags);

    CDibImage m_dibFace;
    CDibImage m_dibPressed;
    CDibImage m_dibDisabled;
    CDibImage m_dibHot;
    CDibImage m_dibFocusH;
    CDibImage m_dibFocusV;
    bool m_bHover;
    bool m_bHeld;
    short m_nFocusInset;
    COLORREF m_crText;
    UINT m_uTextFormat;
};
