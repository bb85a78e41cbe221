// CUninstallApp: Uninstall's application object. Asks for confirmation, then shows the uninstall
// dialog and ends with it.
#pragma once
#include "framework/WinApp.h"

class CUninstallApp : public CWinApp {
public:
    CUninstallApp();
    BOOL InitInstance() override;
};
