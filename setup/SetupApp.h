// CSetupApp: Setup's application object. Shows the install dialog and ends with it.
#pragma once
#include "framework/WinApp.h"
#include "record/InstallLock.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp();
    BOOL InitInstance() override;

private:
    CInstallLock m_installLock;  // held for the process's life once taken
};
