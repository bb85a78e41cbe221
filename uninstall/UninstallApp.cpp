#include "uninstall/UninstallApp.h"

#include "framework/MessageBox.h"
#include "uninstall/UninstallDlg.h"

namespace {
const char CONFIRM_TEXT[] = "真要卸载 Vennloft管理 V5.0 吗?";
const char CONFIRM_CAPTION[] = "卸载软件";
}  // namespace

CUninstallApp theApp;

CUninstallApp::CUninstallApp() {}

BOOL CUninstallApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();
    if (!m_oneUninstaller.Acquire(CONFIRM_CAPTION)) return FALSE;
    if (AfxShowMessageBox(NULL, CONFIRM_TEXT, CONFIRM_CAPTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    CUninstallDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    return FALSE;
}
