#include "uninstall/UninstallDlg.h"

#include "controls/ReliefPattern.h"
#include "framework/FileCalls.h"
#include "framework/MessageBox.h"
#include "framework/PathText.h"
#include "framework/RegistryText.h"
#include "framework/SystemErrorText.h"
#include "framework/WinApp.h"
#include "record/InstallFolder.h"
#include "record/ProductKeys.h"
#include "record/RecordFormat.h"
#include "uninstall/TestSeams.h"
#include "uninstall/UninstallMessages.h"
#include "uninstall/UninstallResource.h"

namespace {
const char FAILED_TEXT[] = "Vennloft管理 卸载未能完成!";
const char AT_RESTART_TEXT[] = "卸载程序及其文件夹将在计算机重新启动后删除。";
const char FILES_AT_RESTART_TEXT[] = "部分文件正在使用，卸载将在计算机重新启动后完成。";
const char STATUS_FORMAT[] = "%s ... ";
const DWORD INSTALL_PATH_BYTES = 1024;
// The two buttons' faces: different reliefs ("完成" rimmed, "取消" soft), the same grain, the hot
// face 10 % toward the highlight colour, no tint.
const BYTE BUTTON_GRAIN = 8;
const BYTE BUTTON_HOT_PERCENT = 10;
const BYTE BUTTON_TINT_PERCENT = 0;
const COLORREF BUTTON_TINT = 0;
}  // namespace

BEGIN_MESSAGE_MAP(CUninstallDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DESTROY()
    ON_MESSAGE(UM_FILE_DELETED, OnFileDeleted)
    ON_MESSAGE(UM_FILES_DONE, OnFilesDone)
    ON_MESSAGE(UM_UNINSTALL_DONE, OnUninstallDone)
    ON_MESSAGE(UM_UNINSTALL_FAILED, OnUninstallFailed)
END_MESSAGE_MAP()

CUninstallDlg::CUninstallDlg(HANDLE hInstallLock, CWnd* pParent)
    : CDialog(IDD_UNINSTALL_DIALOG, pParent),
      m_hIcon(::LoadIconA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_hInstallLock(hInstallLock) {}

CUninstallDlg::~CUninstallDlg() {
    m_thread.StopAndWait(INFINITE);
}

void CUninstallDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UNINSTALL_DONE_TEXT, m_wndDoneText);
    DDX_Control(pDX, IDC_UNINSTALL_GROUP, m_wndGroup);
    DDX_Control(pDX, IDC_UNINSTALL_THANKS, m_wndThanks);
    DDX_Control(pDX, IDOK, m_btnFinish);
    DDX_Control(pDX, IDCANCEL, m_btnCancel);
    DDX_Control(pDX, IDC_UNINSTALL_STATUS, m_wndStatus);
    DDX_Control(pDX, IDC_UNINSTALL_PROGRESS, m_wndProgress);
}

BOOL CUninstallDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_wndThanks.SetShadow(TRUE);
    // Button 1 before button 2: the faces' grain comes from one random sequence.
    m_btnFinish.BuildFaces(RELIEF_RIMMED, BUTTON_GRAIN, BUTTON_HOT_PERCENT, BUTTON_TINT_PERCENT, BUTTON_TINT);
    m_btnCancel.BuildFaces(RELIEF_SOFT, BUTTON_GRAIN, BUTTON_HOT_PERCENT, BUTTON_TINT_PERCENT, BUTTON_TINT);
    m_btnFinish.EnableWindow(FALSE);
    m_wndDoneText.ShowWindow(SW_HIDE);

    CString strPath;
    // A record elsewhere, as beside a copy of the program in a download folder, is never read: it
    // could name any file, key or control of the machine.
    if (!ReadInstallPath(strPath)) strPath = AfxGetFixedInstallFolder();
    strPath += RECORD_FILE_NAME;
    if (AfxGetFileAttributes(strPath) == INVALID_FILE_ATTRIBUTES) {
        PostMessage(WM_CLOSE);
        return FALSE;
    }

    m_thread.m_pMainWnd = this;
    m_thread.m_hInstallLock = m_hInstallLock;
    if (!m_thread.ReadInstallRecord(strPath)) {
        PostMessage(WM_CLOSE);
        return TRUE;
    }
    m_wndProgress.ShowCaption(TRUE);
    m_wndProgress.SetRange(0, m_thread.CountRecords(RECORD_FILE));
    m_wndProgress.SetStep(1);
    if (FailHereIfAsked("worker") || !m_thread.CreateThread(0, 0, NULL)) {
        // Nothing has been removed: the user learns why, and the dialog ends.
        const DWORD dwError = ::GetLastError();
        AfxShowMessageBox(m_hWnd, AfxGetSystemErrorText(dwError), NULL, MB_ICONSTOP);
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

BOOL CUninstallDlg::ReadInstallPath(CString& strPath) {
    if (!AfxReadRegText(HKEY_LOCAL_MACHINE, PRODUCT_KEY, PRODUCT_INSTALL_PATH, INSTALL_PATH_BYTES, strPath))
        return FALSE;
    strPath = PathWithTrailingBackslash(strPath);
    return TRUE;
}

void CUninstallDlg::OnDestroy() {
    // Ended early ("取消", Esc, the close box): stop the worker while the window and its controls
    // still exist, handling what it sends meanwhile; it sends nothing once stopped.
    m_thread.StopAndWait(INFINITE);
    Default();
}

void CUninstallDlg::OnPaint() {
    if (!PaintMinimizedIcon(m_hIcon)) Default();
}

HCURSOR CUninstallDlg::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

LRESULT CUninstallDlg::OnFileDeleted(WPARAM, LPARAM lParam) {
    CString strStatus;
    strStatus.Format(STATUS_FORMAT, reinterpret_cast<const char*>(lParam));
    m_wndStatus.SetWindowText(strStatus);
    m_wndProgress.StepIt();
    return 1;
}

LRESULT CUninstallDlg::OnFilesDone(WPARAM, LPARAM) {
    m_wndStatus.SetWindowText("");
    return 1;
}

LRESULT CUninstallDlg::OnUninstallDone(WPARAM wParam, LPARAM) {
    m_wndStatus.SetWindowText("");
    // The empty status line shares its row with the completion text and would paint its
    // background over it: it goes with the other working-view controls.
    m_wndStatus.ShowWindow(SW_HIDE);
    m_wndProgress.ShowWindow(SW_HIDE);
    m_wndGroup.ShowWindow(SW_HIDE);
    m_wndDoneText.ShowWindow(SW_SHOW);
    // The restart notice is answered before "完成" can end the dialog under it.
    if (wParam & UNINSTALL_FILES_AT_RESTART)
        MessageBox(FILES_AT_RESTART_TEXT, NULL, MB_ICONINFORMATION);
    else if (wParam == UNINSTALL_DONE_AT_RESTART)
        MessageBox(AT_RESTART_TEXT, NULL, MB_ICONINFORMATION);
    m_btnFinish.EnableWindow(TRUE);
    m_btnFinish.SetFocus();
    return 1;
}

LRESULT CUninstallDlg::OnUninstallFailed(WPARAM, LPARAM) {
    MessageBox(FAILED_TEXT, NULL, MB_ICONINFORMATION);
    EndDialog(IDCANCEL);
    return 1;
}
