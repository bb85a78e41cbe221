#include "setup/SetupDlg.h"

#include "framework/PathText.h"
#include "framework/Timings.h"
#include "framework/WinApp.h"
#include "record/InstallFolder.h"
#include "setup/SetupMessages.h"
#include "setup/SetupResource.h"

namespace {
const char INSTALLING_TITLE[] = "正在安装...";
const char COMPLETED_TITLE[] = "安装完成!";
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
    ON_MESSAGE(UM_INSTALL_STEP, OnInstallStep)
    ON_MESSAGE(UM_INSTALL_DONE, OnInstallDone)
END_MESSAGE_MAP()

CSetupDlg::CSetupDlg(CWnd* pParent)
    : CDialog(IDD_SETUP_DIALOG, pParent),
      m_hIcon(::LoadIconA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME))),
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

    m_thread.m_strSourceDir = m_strSourceDir;
    m_thread.m_strTargetDir = m_strTargetDir;
    m_thread.m_pMainWnd = this;
    m_thread.m_bAutoDelete = FALSE;
    m_thread.CreateThread(0, 0, NULL);
    return TRUE;
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
    if ((nID & 0xFFF0) == SC_CLOSE && !m_bInstallDone) return;
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

LRESULT CSetupDlg::OnInstallDone(WPARAM, LPARAM) {
    m_bInstallDone = TRUE;
    m_wndHint.ShowWindow(SW_SHOW);
    m_btnFinish.ShowWindow(SW_SHOW);
    m_wndProgress.ShowWindow(SW_HIDE);
    SetWindowText(COMPLETED_TITLE);
    AfxTimingMark("view_shown");
    return 1;
}
