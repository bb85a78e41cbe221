// CColorLabel: a static text drawn in its own colour and font (a copy of the default GUI font)
// on the 3D-face colour, through the colour query its parent reflects back to it. A left click
// (delivered only when the control has SS_NOTIFY) hands the text to the shell to open.
#pragma once
#include <windows.h>

#include "framework/GdiObject.h"
#include "framework/Static.h"

class CColorLabel : public CStatic {
public:
    CColorLabel();
    ~CColorLabel() override;

    // Stores the colour and, when the window exists, repaints at once.
    void SetTextColor(COLORREF cr);

protected:
    void PreSubclassWindow() override;

    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_crText;
    CBrush m_brBack;
    LOGFONTW m_lfFont;
    CFont m_font;
};
