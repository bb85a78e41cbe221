// CSetupApp: Setup's application object. Shows the install dialog and ends with it.
#pragma once
#include "framework/WinApp.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp();
    BOOL InitInstance() override;
};
