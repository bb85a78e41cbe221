#include "setup/SetupApp.h"

#include "framework/Timings.h"
#include "setup/SetupDlg.h"

CSetupApp theApp;

CSetupApp::CSetupApp() {}

BOOL CSetupApp::InitInstance() {
    AfxTimingMark("app_init");
    AfxEnableControlContainer();
    Enable3dControls();
    CSetupDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    AfxTimingThreadCpu("ui");
    AfxWriteTimings("PM_SETUP_TIMINGS");
    // No message loop of the program's own: the program ends with the dialog.
    return FALSE;
}
