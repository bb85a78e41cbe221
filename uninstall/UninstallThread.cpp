#include "uninstall/UninstallThread.h"

CUninstallThread::CUninstallThread() : m_bStop(FALSE) {}

CUninstallThread::~CUninstallThread() {}

BOOL CUninstallThread::InitInstance() { return FALSE; }

int CUninstallThread::ExitInstance() { return CWinThread::ExitInstance(); }
