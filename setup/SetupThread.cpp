#include "setup/SetupThread.h"

CSetupThread::CSetupThread() {}

CSetupThread::~CSetupThread() {}

BOOL CSetupThread::InitInstance() { return TRUE; }

int CSetupThread::Run() {
    ::PostThreadMessageA(m_nThreadID, WM_QUIT, 0, 0);
    return CWinThread::Run();
}

int CSetupThread::ExitInstance() { return CWinThread::ExitInstance(); }
