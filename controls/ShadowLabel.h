// CShadowLabel: a static text that paints itself in black, optionally over a light grey copy
// moved 3 pixels right and down, word-wrapped, on the parent's background (nothing is erased).
#pragma once
#include <windows.h>

#include "framework/GdiObject.h"
#include "framework/Static.h"

class CShadowLabel : public CStatic {
public:
    CShadowLabel();

    // Switches the shadow; returns the previous switch. Shows at the next paint.
    BOOL SetShadow(BOOL bShadow);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bShadow;
    int m_nShadowX;
    int m_nShadowY;
    COLORREF m_crShadow;
    COLORREF m_crText;
    CFont* m_pFont;  // not owned; null: the control's own font (WM_GETFONT)
};
