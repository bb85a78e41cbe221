#include "setup/SetupApp.h"

#include "framework/MessageBox.h"
#include "framework/ModulePath.h"
#include "framework/Timings.h"
#include "setup/SetupDlg.h"

namespace {
// Setup's name, fixed: the usual caption comes from the program's path, which is what failed here.
const char SETUP_NAME[] = "Setup";
const char PATH_TOO_LONG_TEXT[] =
    "安装程序所在文件夹的路径太长或含有无法识别的字符，无法安装。\n请将安装文件复制到路径较短的文件夹中，再运"
    "行安装程序。";
}  // namespace

CSetupApp theApp;

CSetupApp::CSetupApp() {}

BOOL CSetupApp::InitInstance() {
    AfxTimingMark("app_init");
    AfxEnableControlContainer();
    Enable3dControls();
    // The source folder is the program's own: a path the system gives cut short names another
    // folder (a parent, or a drive's root) whose files must not be installed, and a path that GBK
    // cannot hold cannot be recorded.
    CString strModule;
    if (!AfxGetModulePath(strModule)) {
        AfxShowMessageBox(NULL, PATH_TOO_LONG_TEXT, SETUP_NAME, MB_ICONSTOP);
        return FALSE;
    }
    // Another Setup or an Uninstall runs: its window comes to the front and this one ends untouched.
    // Held by a removal batch (no window), the dialog waits for it.
    DWORD dwError = 0;
    if (!m_installLock.TryAcquire(&dwError) && dwError == ERROR_SHARING_VIOLATION &&
        ShowOtherInstallerWindow())
        return FALSE;
    CSetupDlg dlg(&m_installLock);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    AfxTimingThreadCpu("ui");
    AfxWriteTimings("PM_SETUP_TIMINGS");
    // No message loop of the program's own: the program ends with the dialog.
    return FALSE;
}
