#include "uninstall/UninstallApp.h"

#include "framework/MessageBox.h"
#include "uninstall/UninstallDlg.h"

namespace {
const char kConfirmText[] = "真要卸载 Vennloft管理 V5.0 吗?";
const char kConfirmCaption[] = "卸载软件";
}  // namespace

CUninstallApp theApp;

CUninstallApp::CUninstallApp() {}

BOOL CUninstallApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    if (AfxShowMessageBox(NULL, kConfirmText, kConfirmCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    CUninstallDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    return FALSE;
}
