#include "controls/ShadowLabel.h"

#include "controls/OffscreenDC.h"
#include "framework/NarrowString.h"

BEGIN_MESSAGE_MAP(CShadowLabel, CStatic)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CShadowLabel::CShadowLabel()
    : m_bShadow(FALSE),
      m_nShadowX(3),
      m_nShadowY(3),
      m_crShadow(RGB(0xD0, 0xD0, 0xD0)),
      m_crText(RGB(0, 0, 0)),
      m_pFont(NULL) {}

BOOL CShadowLabel::SetShadow(BOOL bShadow) {
    BOOL bOld = m_bShadow;
    m_bShadow = bShadow;
    return bOld;
}

BOOL CShadowLabel::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CShadowLabel::OnPaint() {
    CPaintDC dcPaint(this);
    // Composed off-screen over a copy of what the window shows now: nothing is erased, so the
    // parent's background stays behind the text.
    COffscreenDC dc(&dcPaint);
    const CRect& rcPaint = dc.GetRect();
    dc.BitBlt(rcPaint.left, rcPaint.top, rcPaint.Width(), rcPaint.Height(), &dcPaint, rcPaint.left,
              rcPaint.top, SRCCOPY);
    CRect rcClient;
    GetClientRect(&rcClient);
    CString strText;
    GetWindowText(strText);

    dc.SetBkMode(TRANSPARENT);
    CTempGdiObject<CFont> fontOwn(GetFont());  // the control's font belongs to the dialog
    CFont* pFont = m_pFont != NULL ? m_pFont : &fontOwn;
    HGDIOBJ hOldFont = dc.SelectObject(pFont);

    if (m_bShadow) {
        CRect rcShadow = rcClient;
        rcShadow.OffsetRect(m_nShadowX, m_nShadowY);
        dc.SetTextColor(m_crShadow);
        dc.DrawText(strText, &rcShadow, DT_WORDBREAK);
    }
    dc.SetTextColor(m_crText);
    dc.DrawText(strText, &rcClient, DT_WORDBREAK);

    if (hOldFont != NULL) dc.SelectObject(hOldFont);
}
