#include "controls/TexturedButton.h"

#include "controls/ButtonFaces.h"
#include "controls/ReliefPattern.h"

BEGIN_MESSAGE_MAP(CTexturedButton, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KILLFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_MOUSELEAVE()
    ON_MESSAGE(BM_SETCHECK, OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, OnGetCheck)
END_MESSAGE_MAP()

CTexturedButton::CTexturedButton()
    : m_bHover(false),
      m_bHeld(false),
      m_nFocusInset(4),
      m_crText(::GetSysColor(COLOR_BTNTEXT)),
      m_uTextFormat(DT_CENTER) {}

CTexturedButton::~CTexturedButton() {}

void CTexturedButton::PreSubclassWindow() {
    switch (GetStyle() & (BS_LEFT | BS_RIGHT | BS_CENTER)) {
    case BS_LEFT: m_uTextFormat = DT_LEFT | DT_VCENTER | DT_SINGLELINE; break;
    case BS_RIGHT: m_uTextFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE; break;
    default: m_uTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE; break;
    }
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW);
}

BOOL CTexturedButton::BuildFaces(UINT nPattern, BYTE nGrain, BYTE nHotPercent, BYTE nTintPercent,
                                 COLORREF crTint) {
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CFaceParams params;
    params.nWidth = rcWindow.Width();
    params.nHeight = rcWindow.Height();
    params.nFocusInset = m_nFocusInset;
    params.nPattern = nPattern;
    params.nGrain = nGrain;
    params.nHotPercent = nHotPercent;
    params.nTintPercent = nTintPercent;
    params.crTint = crTint;
    params.crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    params.crFace = ::GetSysColor(COLOR_BTNFACE);
    params.crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    CFaceImages images = {&m_dibFace, &m_dibPressed, &m_dibDisabled, &m_dibHot, &m_dibFocusH, &m_dibFocusV};
    CRandGrain grain(nGrain);
    return BuildButtonFaces(params, images, grain);
}

BOOL CTexturedButton::TrackLeave(DWORD dwFlags) {
    TRACKMOUSEEVENT tme = {sizeof(tme), dwFlags, m_hWnd, 0};
    return ::TrackMouseEvent(&tme);
}

BOOL CTexturedButton::OnEraseBkgnd(CDC*) {
    return TRUE;
}

void CTexturedButton::OnLButtonDown(UINT, CPoint) {
    if (m_bHover && TrackLeave(TME_CANCEL | TME_LEAVE)) m_bHover = false;
    Default();  // the platform's button takes the capture and the pushed state
    m_bHeld = true;
}

void CTexturedButton::OnLButtonUp(UINT, CPoint) {
    m_bHeld = false;
    Default();  // releases the capture; a release over the button sends the click
}

void CTexturedButton::OnMouseMove(UINT, CPoint point) {
    if (m_bHeld && HasCapture()) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        BOOL bOver = ::WindowFromPoint(ptScreen) == m_hWnd;
        BOOL bPushed = (SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
        if (bPushed != bOver) {
            SendMessage(BM_SETSTATE, bOver);
            Invalidate(TRUE);
        }
    } else if (!m_bHover) {
        if (TrackLeave(TME_LEAVE)) {
            m_bHover = true;
            Invalidate(TRUE);
        }
    }
    Default();
}

void CTexturedButton::OnLButtonDblClk(UINT nFlags, CPoint point) {
    // A double-click is a second press, so two quick clicks give two clicks.
    SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

void CTexturedButton::OnKillFocus(CWnd*) {
    if (HasCapture()) {
        ::ReleaseCapture();
        m_bHeld = false;
    }
    Default();
}

void CTexturedButton::OnMouseLeave() {
    m_bHover = false;
    Invalidate(TRUE);
}

LRESULT CTexturedButton::OnSetCheck(WPARAM, LPARAM) {
    Invalidate(TRUE);  // a push button: the check state stays off
    return 0;
}

LRESULT CTexturedButton::OnGetCheck(WPARAM, LPARAM) {
    return BST_UNCHECKED;
}

BOOL CTexturedButton::SyncPushedState() {
    POINT ptCursor;
    if (!m_bHeld || !HasCapture() || !::GetCursorPos(&ptCursor)) return FALSE;
    BOOL bOver = ::WindowFromPoint(ptCursor) == m_hWnd;
    BOOL bPushed = (SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
    if (bOver == bPushed) return FALSE;
    SendMessage(BM_SETSTATE, bOver);
    return TRUE;
}
