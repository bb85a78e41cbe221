// Drawing of CTexturedButton: composed on a memory bitmap, copied with one BitBlt.
#include "controls/TexturedButton.h"
#include "framework/Dc.h"
#include "framework/GdiObject.h"
#include "framework/NarrowString.h"

namespace {

void FillFace(CDC& dc, const CRect& rc) {
    dc.FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
}

}  // namespace

void CTexturedButton::DrawItem(LPDRAWITEMSTRUCT pDrawItem) {
    if (SyncPushedState()) return;  // the state change draws the button again

    CTempDC dcTarget(pDrawItem->hDC);
    CRect rcItem = pDrawItem->rcItem;
    const UINT nState = pDrawItem->itemState;
    const int K = m_nFocusInset;
    CString strText;
    GetWindowText(strText);
    CRect rcText = rcItem;
    rcText.left += K + 2;
    rcText.right -= K + 2;

    CDC dc;
    CBitmap bitmap;
    if (!dc.CreateCompatibleDC(&dcTarget) ||
        !bitmap.CreateCompatibleBitmap(dcTarget, rcItem.Width(), rcItem.Height())) {
        return;
    }
    HGDIOBJ hOldBitmap = dc.SelectObject(&bitmap);
    dc.SetBkMode(TRANSPARENT);
    HGDIOBJ hOldFont = dc.SelectStockObject(DEFAULT_GUI_FONT);

    if (nState & ODS_DISABLED) {
        if (!m_dibDisabled.Paint(dc, 0, 0)) FillFace(dc, rcItem);
        dc.DrawEdge(&rcItem, EDGE_RAISED, BF_RECT);
        dc.SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        dc.DrawText(strText, &rcText, m_uTextFormat);
        rcText.OffsetRect(-1, -1);
        dc.SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
        dc.DrawText(strText, &rcText, m_uTextFormat);
    } else {
        if (nState & ODS_SELECTED) {
            if (!m_dibPressed.Paint(dc, 1, 1)) FillFace(dc, rcItem);
            rcText.OffsetRect(1, 1);
            dc.DrawEdge(&rcItem, EDGE_SUNKEN, BF_RECT);
        } else {
            if (!m_dibFace.HasImage()) {
                FillFace(dc, rcItem);
            } else if (m_bHover && m_dibHot.HasImage()) {
                m_dibHot.Paint(dc, 0, 0);
            } else {
                m_dibFace.Paint(dc, 0, 0);
            }
            if (nState & ODS_DEFAULT) {
                dc.DrawEdge(&rcItem, EDGE_SUNKEN, BF_RECT);
                CRect rcInner = rcItem;
                rcInner.DeflateRect(1, 1);
                dc.DrawEdge(&rcInner, EDGE_RAISED, BF_RECT);
            } else {
                dc.DrawEdge(&rcItem, EDGE_RAISED, BF_RECT);
            }
        }
        if ((nState & ODS_FOCUS) && K > 0) {
            // Placed from the whole button, also where a default edge took a pixel.
            CRect rcFocus = rcItem;
            rcFocus.DeflateRect(K, K);
            m_dibFocusH.Paint(dc, rcFocus.left + 1, rcFocus.top);
            m_dibFocusH.Paint(dc, rcFocus.left + 1, rcFocus.bottom);
            m_dibFocusV.Paint(dc, rcFocus.left, rcFocus.top + 1);
            m_dibFocusV.Paint(dc, rcFocus.right, rcFocus.top + 1);
        }
        dc.SetTextColor(m_crText);
        dc.DrawText(strText, &rcText, m_uTextFormat);
    }

    dcTarget.BitBlt(0, 0, rcItem.Width(), rcItem.Height(), &dc, 0, 0, SRCCOPY);
    dc.SelectObject(hOldFont);
    dc.SelectObject(hOldBitmap);
}
