#include "uninstall/UninstallApp.h"

#include "framework/FailureTrace.h"
#include "framework/MessageBox.h"
#include "record/ProgramWindows.h"
#include "uninstall/UninstallDlg.h"

namespace {
const char CONFIRM_TEXT[] = "真要卸载 Vennloft管理 V5.0 吗?";
}  // namespace

CUninstallApp theApp;

CUninstallApp::CUninstallApp() {}

BOOL CUninstallApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    // Another Uninstall, a Setup, or a removal batch holds the lock: the other's window comes to the
    // front, or the user learns why nothing happens; this one ends untouched. A lock that cannot be
    // had at all tells of no other program: then this one runs without it.
    DWORD dwError = 0;
    if (!m_installLock.TryAcquire(&dwError)) {
        if (dwError == ERROR_SHARING_VIOLATION) {
            if (!ShowOtherInstallerWindow())
                AfxShowMessageBox(NULL, INSTALLER_BUSY_TEXT, NULL, MB_ICONINFORMATION);
            return FALSE;
        }
        AfxTraceFailure("taking the install lock", "", dwError);
    }
    if (AfxShowMessageBox(NULL, CONFIRM_TEXT, UNINSTALL_CONFIRM_CAPTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    CUninstallDlg dlg(m_installLock.Handle());
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    return FALSE;
}
