#include "setup/SetupDlg.h"

#include "framework/FailureTrace.h"
#include "framework/MessageBox.h"
#include "framework/PathText.h"
#include "framework/SystemErrorText.h"
#include "framework/Timings.h"
#include "framework/WinApp.h"
#include "record/InstallFolder.h"
#include "record/ProgramWindows.h"
#include "setup/SetupMessages.h"
#include "setup/SetupResource.h"

namespace {
const char INSTALLING_TITLE[] = SETUP_INSTALLING_TITLE;
const char COMPLETED_TITLE[] = SETUP_COMPLETED_TITLE;
const char WAITING_TITLE[] = SETUP_WAITING_TITLE;
// While a removal batch holds the install lock: it ends about two minutes after its uninstaller at
// the latest, so a wait this long outlasts every batch that will end.
const UINT_PTR LOCK_TIMER = 1;
const UINT LOCK_RETRY_MS = 250;
const DWORD LOCK_WAIT_LIMIT_MS = 180000;
const char AT_RESTART_TEXT[] = "部分文件正在使用，安装将在计算机重新启动后完成。";
const COLORREF HINT_COLOUR = 0x00FF0000;  // blue
// The bar's range is one step per file and this many more: the subfolders of the add-on the
// installer was made for. Every subfolder sends a step as well, so with another number of them the
// bar ends short of 100 % or passes it; it is hidden at the end either way.
const int PROGRESS_EXTRA_STEPS = 9;
CTimedPart s_countFiles("count_files");
CTimedPart s_stepIt("step_it");
}  // namespace

BEGIN_MESSAGE_MAP(CSetupDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_TIMER()
    ON_MESSAGE(UM_INSTALL_STEP, OnInstallStep)
    ON_MESSAGE(UM_INSTALL_DONE, OnInstallDone)
END_MESSAGE_MAP()

CSetupDlg::CSetupDlg(CInstallLock* pInstallLock, CWnd* pParent)
    : CDialog(IDD_SETUP_DIALOG, pParent),
      m_hIcon(::LoadIconA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_pInstallLock(pInstallLock),
      m_dwWaitStart(0),
      m_dwIdleSince(0),
      m_bWaiting(FALSE),
      m_bInstallDone(FALSE) {}

CSetupDlg::~CSetupDlg() {
    // The window is gone by now, so whatever the worker still sends fails at once.
    m_thread.WaitForExit(INFINITE);
}

void CSetupDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_HINT, m_wndHint);
    DDX_Control(pDX, IDC_SETUP_PICTURE, m_wndPicture);
    DDX_Control(pDX, IDOK, m_btnFinish);
    DDX_Control(pDX, IDC_SETUP_PROGRESS, m_wndProgress);
}

BOOL CSetupDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL CSetupDlg::OnInitDialog() {
    AfxTimingMark("dialog_init");
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    FindFolders();
    SetWindowText(INSTALLING_TITLE);
    ShowWindow(SW_SHOW);
    CenterWindow(::GetDesktopWindow());

    m_wndHint.SetTextColor(HINT_COLOUR);
    m_wndHint.ShowWindow(SW_HIDE);
    m_btnFinish.ShowWindow(SW_HIDE);

    int nFiles = 0;
    {
        CTimedScope timed(s_countFiles);
        nFiles = CountInstallFiles();
    }
    m_wndProgress.ShowCaption(TRUE);
    m_wndProgress.SetRange(0, nFiles + PROGRESS_EXTRA_STEPS);
    m_wndProgress.SetStep(1);
    AfxTimingMark("count_done");

    if (TakeInstallLock())
        StartInstall();
    else
        WaitForInstallLock();
    return TRUE;
}

BOOL CSetupDlg::TakeInstallLock() {
    DWORD dwError = 0;
    return m_pInstallLock == NULL || m_pInstallLock->TryAcquire(&dwError) ||
           dwError != ERROR_SHARING_VIOLATION;
}

void CSetupDlg::WaitForInstallLock() {
    SetWindowText(WAITING_TITLE);
    m_dwWaitStart = ::GetTickCount();
    m_dwIdleSince = m_dwWaitStart;
    m_bWaiting = TRUE;
    SetTimer(LOCK_TIMER, LOCK_RETRY_MS);
}

void CSetupDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != LOCK_TIMER || !m_bWaiting) return;
    if (TakeInstallLock()) {
        m_bWaiting = FALSE;
        KillTimer(LOCK_TIMER);
        SetWindowText(INSTALLING_TITLE);
        StartInstall();
    } else if (ShowOtherInstallerWindow()) {
        // A Setup or an Uninstall has started meanwhile: it goes on, this one ends untouched.
        KillTimer(LOCK_TIMER);
        m_bWaiting = FALSE;
        EndDialog(IDCANCEL);
    } else if (RemovalBatchStands()) {
        m_dwIdleSince = ::GetTickCount();
    } else if (::GetTickCount() - m_dwIdleSince >= IDLE_HOLDER_MS) {
        // Neither a program nor a batch holds it: no one the install could harm.
        KillTimer(LOCK_TIMER);
        m_bWaiting = FALSE;
        AfxTraceFailure("the install lock, held with no window and no batch", "", ERROR_SHARING_VIOLATION);
        SetWindowText(INSTALLING_TITLE);
        StartInstall();
        return;
    }
    if (m_bWaiting && ::GetTickCount() - m_dwWaitStart >= LOCK_WAIT_LIMIT_MS) {
        KillTimer(LOCK_TIMER);
        MessageBox(INSTALLER_BUSY_TEXT, NULL, MB_ICONINFORMATION);
        EndDialog(IDCANCEL);
    }
}

void CSetupDlg::StartInstall() {
    m_thread.m_strSourceDir = m_strSourceDir;
    m_thread.m_strTargetDir = m_strTargetDir;
    m_thread.m_pMainWnd = this;
    if (m_thread.CreateThread(0, 0, NULL)) return;
    // Nothing has been done: the user learns why, and the dialog ends, which it could not while
    // it waited for a worker that never ran.
    const DWORD dwError = ::GetLastError();
    AfxShowMessageBox(m_hWnd, AfxGetSystemErrorText(dwError), NULL, MB_ICONSTOP);
    EndDialog(IDCANCEL);
}

void CSetupDlg::OnOK() {
    // Only the finish button of the completion view ends the dialog: the Enter key must not
    // end it while the worker installs.
    if (!m_bInstallDone) return;
    CDialog::OnOK();
}

void CSetupDlg::OnSysCommand(UINT nID, LPARAM) {
    // No close box, but Alt+F4 still asks to close: not while the worker installs. (A stop at
    // one of the worker's prompts closes the dialog with WM_CLOSE, which does not come here.)
    if ((nID & 0xFFF0) == SC_CLOSE && !m_bInstallDone && !m_bWaiting) return;
    Default();
}

void CSetupDlg::OnPaint() {
    if (!PaintMinimizedIcon(m_hIcon)) Default();
}

HCURSOR CSetupDlg::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

LRESULT CSetupDlg::OnInstallStep(WPARAM, LPARAM) {
    CTimedScope timed(s_stepIt);
    m_wndProgress.StepIt();
    return 1;
}

LRESULT CSetupDlg::OnInstallDone(WPARAM wParam, LPARAM) {
    m_wndProgress.ShowWindow(SW_HIDE);
    // As the uninstaller does: the restart notice is answered before "完成" can end the dialog,
    // and before the title says the install is complete.
    if (wParam == INSTALL_DONE_AT_RESTART) MessageBox(AT_RESTART_TEXT, NULL, MB_ICONINFORMATION);
    m_bInstallDone = TRUE;
    m_wndHint.ShowWindow(SW_SHOW);
    m_btnFinish.ShowWindow(SW_SHOW);
    SetWindowText(COMPLETED_TITLE);
    AfxTimingMark("view_shown");
    return 1;
}
