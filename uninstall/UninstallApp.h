// CUninstallApp: Uninstall's application object. Asks for confirmation, then shows the uninstall
// dialog and ends with it.
#pragma once
#include "framework/WinApp.h"
#include "record/InstallLock.h"

class CUninstallApp : public CWinApp {
public:
    CUninstallApp();
    BOOL InitInstance() override;

private:
    // Held for the process's life, and by the removal batch after it: one installation at a time.
    CInstallLock m_installLock;

    // TRUE when this uninstaller may run: it holds the lock, or the lock tells of no program or
    // batch it could harm. FALSE, after bringing the other's window to the front or saying why,
    // when another program or a removal batch holds it.
    BOOL TakeInstallLock();
};
