// CUninstallApp: Uninstall's application object. Asks for confirmation, then shows the uninstall
// dialog and ends with it.
#pragma once
#include "framework/WinApp.h"
#include "uninstall/OneUninstaller.h"

class CUninstallApp : public CWinApp {
public:
    CUninstallApp();
    BOOL InitInstance() override;

private:
    COneUninstaller m_oneUninstaller;  // held for the process's life: its batch runs only after that
};
