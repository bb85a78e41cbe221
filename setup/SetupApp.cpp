#include "setup/SetupApp.h"

#include "setup/SetupDlg.h"

CSetupApp theApp;

CSetupApp::CSetupApp() {}

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    CSetupDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    // No message loop of the program's own: the program ends with the dialog.
    return FALSE;
}
