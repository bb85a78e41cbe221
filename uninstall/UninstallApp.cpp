#include "uninstall/UninstallApp.h"

#include "framework/FailureTrace.h"
#include "framework/MessageBox.h"
#include "record/ProgramWindows.h"
#include "uninstall/UninstallDlg.h"

namespace {
const char CONFIRM_TEXT[] = "真要卸载 Vennloft管理 V5.0 吗?";
}  // namespace

CUninstallApp theApp;

namespace {
const DWORD LOCK_RETRY_MS = 250;
}  // namespace

BOOL CUninstallApp::TakeInstallLock() {
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        DWORD dwError = 0;
        if (m_installLock.TryAcquire(&dwError)) return TRUE;
        // A lock that cannot be had at all tells of no other program: this one runs without it.
        if (dwError != ERROR_SHARING_VIOLATION) {
            AfxTraceFailure("taking the install lock", "", dwError);
            return TRUE;
        }
        if (ShowOtherInstallerWindow()) return FALSE;
        if (RemovalBatchStands()) {
            AfxShowMessageBox(NULL, INSTALLER_BUSY_TEXT, NULL, MB_ICONINFORMATION);
            return FALSE;
        }
        // Neither a program (once it has had the time to show its window) nor a batch: no one the
        // uninstall could harm holds it.
        if (::GetTickCount() - dwStart >= IDLE_HOLDER_MS) {
            AfxTraceFailure("the install lock, held with no window and no batch", "", dwError);
            return TRUE;
        }
        ::Sleep(LOCK_RETRY_MS);
    }
}

CUninstallApp::CUninstallApp() {}

BOOL CUninstallApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    // Another Uninstall, a Setup, or a removal batch holds the lock: the other's window comes to the
    // front, or the user learns why nothing happens; this one ends untouched.
    if (!TakeInstallLock()) return FALSE;
    if (AfxShowMessageBox(NULL, CONFIRM_TEXT, UNINSTALL_CONFIRM_CAPTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    CUninstallDlg dlg(m_installLock.Handle());
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    return FALSE;
}
