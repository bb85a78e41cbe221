#include "controls/PercentProgressCtrl.h"

#include <wchar.h>

#include "controls/OffscreenDC.h"
#include "controls/PercentBar.h"
#include "framework/Timings.h"
#include "framework/WideText.h"

namespace {

const UINT TEXT_FORMAT = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

CTimedPart s_barPaint("bar_paint");

// Draws the text clipped to one rectangle. Clip regions are in device coordinates, and the
// off-screen bitmap's origin is the clip box's corner, so the client rectangle is mapped first.
void DrawClippedText(CDC& dc, const CString& strText, CRect rcClient, CRect rcClip, COLORREF cr) {
    dc.LPtoDP(&rcClip);
    CRgn rgn;
    if (!rgn.CreateRectRgnIndirect(&rcClip)) return;
    dc.SelectClipRgn(rgn);
    dc.SetTextColor(cr);
    dc.DrawText(strText, &rcClient, TEXT_FORMAT);
    dc.SelectClipRgn(NULL);
}

}  // namespace

BEGIN_MESSAGE_MAP(CPercentProgressCtrl, CProgressCtrl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_SETTEXT()
    ON_WM_GETTEXT()
END_MESSAGE_MAP()

CPercentProgressCtrl::CPercentProgressCtrl()
    : m_nPosition(0),
      m_nStep(1),
      m_nUpper(100),
      m_nLower(0),
      m_bShowCaption(TRUE),
      m_nLastBarWidth(-1),
      m_crBar(::GetSysColor(COLOR_HIGHLIGHT)),
      m_crBack(::GetSysColor(COLOR_WINDOW)),
      m_crTextOnBack(::GetSysColor(COLOR_HIGHLIGHT)),
      m_crTextOnBar(::GetSysColor(COLOR_WINDOW)) {}

CPercentProgressCtrl::~CPercentProgressCtrl() {}

void CPercentProgressCtrl::ShowCaption(BOOL bShow) {
    if (IsWindow() && (bShow != FALSE) != (m_bShowCaption != FALSE)) InvalidateRect(NULL, TRUE);
    m_bShowCaption = bShow;
}

void CPercentProgressCtrl::SetRange(int nLower, int nUpper) {
    m_nLower = nLower;
    m_nUpper = nUpper;
}

int CPercentProgressCtrl::SetPos(int nPos) {
    if (!IsWindow()) return -1;
    int nOld = m_nPosition;
    m_nPosition = nPos;
    CRect rcClient;
    GetClientRect(&rcClient);
    int nBarWidth = PercentBarWidth(nPos, m_nLower, m_nUpper, rcClient.Width());
    if (nBarWidth != m_nLastBarWidth) {
        m_nLastBarWidth = nBarWidth;
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    }
    return nOld;
}

int CPercentProgressCtrl::StepIt() {
    return SetPos(m_nPosition + m_nStep);
}

void CPercentProgressCtrl::SetStep(int nStep) {
    m_nStep = nStep;
}

BOOL CPercentProgressCtrl::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CPercentProgressCtrl::OnPaint() {
    CTimedScope timed(s_barPaint);
    CPaintDC dc(this);  // begun even when nothing is drawn, so the paint request is completed
    if (!PercentRangeDrawable(m_nLower, m_nUpper)) return;

    CRect rcClient;
    GetClientRect(&rcClient);
    COffscreenDC dcOff(&dc, &m_surface);
    CRect rcBar = rcClient;
    rcBar.right = rcClient.left + PercentBarWidth(m_nPosition, m_nLower, m_nUpper, rcClient.Width());
    CRect rcRest = rcClient;
    rcRest.left = rcBar.right;
    dcOff.FillSolidRect(&rcBar, m_crBar);
    dcOff.FillSolidRect(&rcRest, m_crBack);
    if (!m_bShowCaption) return;

    CString strText = m_strCaption;
    if (strText.IsEmpty()) strText.Format("%d%%", PercentDone(m_nPosition, m_nLower, m_nUpper));
    dcOff.SetBkMode(TRANSPARENT);
    DrawClippedText(dcOff, strText, rcClient, rcBar, m_crTextOnBar);
    DrawClippedText(dcOff, strText, rcClient, rcRest, m_crTextOnBack);
}

void CPercentProgressCtrl::OnSize(UINT, int, int) {
    Default();
    m_nLastBarWidth = -1;
}

LRESULT CPercentProgressCtrl::OnSetText(WPARAM, LPARAM lParam) {
    LRESULT lResult = Default();
    // The bar is a window of UTF-16 texts, as every window of the programs; the caption is kept in
    // GBK, as the programs' texts are (a character GBK cannot hold leaves the caption empty).
    const LPCWSTR pwszText = reinterpret_cast<LPCWSTR>(lParam);
    CString strText;
    if (pwszText != NULL) AfxWideToGbk(pwszText, -1, strText);
    if (!m_strCaption.Equals(strText)) {
        m_strCaption = strText;  // null gives an empty caption
        InvalidateRect(NULL, TRUE);
    }
    return lResult;
}

LRESULT CPercentProgressCtrl::OnGetText(WPARAM wParam, LPARAM lParam) {
    const LPWSTR pwchBuffer = reinterpret_cast<LPWSTR>(lParam);
    const int nSize = static_cast<int>(wParam);
    if (pwchBuffer == NULL || nSize <= 0) return 0;
    const CWideText caption(m_strCaption);
    // Cut to the buffer, ending in a NUL inside it. (A GBK text has no surrogate pair to split.)
    int nLength = caption.GetLength();
    if (nLength >= nSize) nLength = nSize - 1;
    wmemcpy(pwchBuffer, caption, static_cast<size_t>(nLength));
    pwchBuffer[nLength] = L'\0';
    return nLength;
}
