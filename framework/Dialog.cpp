#include "framework/Dialog.h"

#include "framework/Dc.h"
#include "framework/WndCreateHook.h"

namespace {

// Every message reaches the dialog's object through its subclassed window procedure first; what
// the object leaves to the default handling arrives here from the dialog manager, which then
// does its standard processing.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

}  // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != NULL) return;  // attached by an earlier exchange
    rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd), m_bModalLoop(FALSE), m_nModalResult(-1) {}

CDialog::~CDialog() {}

INT_PTR CDialog::DoModal() {
    HWND hWndParent = m_pParentWnd != NULL ? m_pParentWnd->m_hWnd : NULL;
    // As with DialogBox, the owner takes no input while the dialog runs.
    BOOL bEnableParent = hWndParent != NULL && ::IsWindowEnabled(hWndParent);
    if (bEnableParent) ::EnableWindow(hWndParent, FALSE);

    m_nModalResult = -1;
    m_bModalLoop = TRUE;
    HWND hWnd = NULL;
    if (AfxHookWindowCreate(this)) {
        hWnd = ::CreateDialogParamW(::GetModuleHandleW(NULL), MAKEINTRESOURCEW(m_nIDTemplate), hWndParent,
                                    AfxDlgProc, 0);
        AfxUnhookWindowCreate();
    }
    if (hWnd == NULL) m_bModalLoop = FALSE;

    while (m_bModalLoop) {
        MSG msg;
        BOOL bResult = ::GetMessageW(&msg, NULL, 0, 0);
        if (bResult == -1) break;
        if (bResult == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));  // leave the quit for the outer loop
            break;
        }
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    // Re-enable the owner before the dialog goes, so the activation passes back to it.
    if (bEnableParent) ::EnableWindow(hWndParent, TRUE);
    if (m_hWnd != NULL) DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    m_bModalLoop = FALSE;
    if (m_hWnd != NULL) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the loop
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (CWnd::OnWndMsg(nMsg, wParam, lParam, pResult)) return TRUE;
    if (nMsg == WM_INITDIALOG) {
        *pResult = OnInitDialog();
        return TRUE;
    }
    if (nMsg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            *pResult = 0;
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            *pResult = 0;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (m_hWnd == NULL) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

void CDialog::CenterWindow(HWND hWndAlternateOwner) {
    HWND hWndCenter = hWndAlternateOwner;
    if (hWndCenter == NULL) hWndCenter = ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndCenter == NULL) hWndCenter = ::GetDesktopWindow();
    RECT rcDlg, rcCenter;
    ::GetWindowRect(m_hWnd, &rcDlg);
    ::GetWindowRect(hWndCenter, &rcCenter);
    int x = (rcCenter.left + rcCenter.right) / 2 - (rcDlg.right - rcDlg.left) / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - (rcDlg.bottom - rcDlg.top) / 2;
    // Keep the dialog on the screen's work area.
    RECT rcWork;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    if (x + (rcDlg.right - rcDlg.left) > rcWork.right) x = rcWork.right - (rcDlg.right - rcDlg.left);
    if (y + (rcDlg.bottom - rcDlg.top) > rcWork.bottom) y = rcWork.bottom - (rcDlg.bottom - rcDlg.top);
    if (x < rcWork.left) x = rcWork.left;
    if (y < rcWork.top) y = rcWork.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HICON CDialog::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

BOOL CDialog::PaintMinimizedIcon(HICON hIcon) {
    if (!IsIconic()) return FALSE;
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rect.bottom - rect.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc.GetSafeHdc(), x, y, hIcon);
    return TRUE;
}
