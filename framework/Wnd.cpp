#include "framework/Wnd.h"

#include <vector>

#include "framework/MessageBox.h"
#include "framework/NarrowString.h"
#include "framework/WideText.h"
#include "framework/WndCreateHook.h"
#include "framework/WndThreadState.h"

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL) {}

CWnd::~CWnd() {
    if (m_hWnd == NULL || FromHandlePermanent(m_hWnd) != this) return;  // a lent handle only
    if (::GetWindowThreadProcessId(m_hWnd, NULL) == ::GetCurrentThreadId()) {
        ::DestroyWindow(m_hWnd);  // WM_NCDESTROY detaches
    }
    if (m_hWnd != NULL) {
        UnsubclassWindow();
    }
}

int CWnd::MessageBox(LPCSTR pszText, LPCSTR pszCaption, UINT nType) const {
    return AfxShowMessageBox(m_hWnd, pszText, pszCaption, nType);
}

void CWnd::HookWndProc() {
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (pfnOld != &AfxWndProc) m_pfnSuper = pfnOld;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    HookWndProc();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == NULL) return FALSE;
    HWND hWndItem = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndItem != NULL && SubclassWindow(hWndItem);
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd == NULL) return NULL;
    if (m_pfnSuper != NULL) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = NULL;
    }
    return Detach();
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU hMenuOrID, LPVOID pParam) {
    if (m_hWnd != NULL || !AfxHookWindowCreate(this)) return FALSE;
    const CWideText className(pszClassName);
    const CWideText windowName(pszWindowName);
    HWND hWnd = ::CreateWindowExW(dwExStyle, className, windowName, dwStyle, x, y, nWidth, nHeight,
                                  hWndParent, hMenuOrID, ::GetModuleHandleW(NULL), pParam);
    AfxUnhookWindowCreate();
    return hWnd != NULL && m_hWnd == hWnd;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd != NULL && ::DestroyWindow(m_hWnd);
}

void CWnd::FinishNcDestroy() {
    WNDPROC pfnCurrent = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC));
    if (pfnCurrent == &AfxWndProc && m_pfnSuper != NULL) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = NULL;
    Detach();
    PostNcDestroy();
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD dwStyle = GetStyle();
    DWORD dwNew = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNew) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(dwNew));
    if (nFlags != 0) {
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

void CWnd::ClientToScreen(LPRECT pRect) const {
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&pRect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&pRect->right));
}

void CWnd::ScreenToClient(LPRECT pRect) const {
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&pRect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&pRect->right));
}

void CWnd::SetWindowText(LPCSTR pszText) {
    ::SetWindowTextW(m_hWnd, CWideText(pszText));
}

void CWnd::GetWindowText(CString& strText) const {
    strText.Empty();
    const int nLength = ::GetWindowTextLengthW(m_hWnd);
    if (nLength <= 0) return;
    std::vector<WCHAR> text(static_cast<size_t>(nLength) + 1, L'\0');
    const int nCopied = ::GetWindowTextW(m_hWnd, &text[0], nLength + 1);
    // Our windows hold what the programs gave them, which is GBK throughout.
    if (nCopied > 0) AfxWideToGbk(&text[0], nCopied, strText);
}

int CWnd::OnCreate(LPCREATESTRUCTW) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseLeave() {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    const MSG& msg = AfxGetWndThreadState().lastSentMsg;
    LRESULT lResult = 0;
    if (pWnd != NULL && ReflectChildNotify(pWnd->m_hWnd, msg.message, msg.wParam, msg.lParam, &lResult)) {
        return reinterpret_cast<HBRUSH>(lResult);
    }
    return reinterpret_cast<HBRUSH>(Default());
}
