#include "ReplayHarness.h"

#include "uninstall/UninstallMessages.h"

CMessageLog::CMessageLog()
    : m_window([this](UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
          switch (nMsg) {
          case UM_FILE_DELETED:
              Log(nMsg, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "<null>");
              lResult = 1;
              return true;
          case UM_FILES_DONE:
          case UM_UNINSTALL_DONE:
          case UM_TEST_BATCH:
          case UM_TEST_RESTART:
              Log(nMsg, std::string(), wParam);
              lResult = 1;
              return true;
          }
          return false;
      }) {}

size_t CMessageLog::Count(UINT nMsg) const {
    size_t n = 0;
    for (const LoggedMessage& m : m_messages)
        if (m.nMsg == nMsg) ++n;
    return n;
}

std::vector<std::string> CMessageLog::DeletedPaths() const {
    std::vector<std::string> paths;
    for (const LoggedMessage& m : m_messages)
        if (m.nMsg == UM_FILE_DELETED) paths.push_back(m.strPath);
    return paths;
}

void CMessageLog::Log(UINT nMsg, const std::string& strPath, WPARAM wParam) {
    bool bExists =
        !m_strWatched.empty() && GetFileAttributesA(m_strWatched.c_str()) != INVALID_FILE_ATTRIBUTES;
    m_messages.push_back({nMsg, strPath, bExists, wParam});
}

BOOL CReplayThread::WriteRemovalBatch() {
    InterlockedIncrement(&m_nBatches);
    if (m_hWndLog != NULL) SendMessageA(m_hWndLog, UM_TEST_BATCH, 0, 0);
    return m_bBatchStarts;
}

BOOL CReplayThread::RemoveAtRestart() {
    if (m_hWndLog != NULL) SendMessageA(m_hWndLog, UM_TEST_RESTART, 0, 0);
    return TRUE;
}

void SetRecord(CUninstallThread& worker, const std::string& strRecord) {
    worker.m_strRecord = CString(strRecord.data(), static_cast<int>(strRecord.size()));
}

bool StartReplay(CReplayThread& worker, CMessageLog* pLog) {
    worker.m_pMainWnd = pLog != NULL ? pLog->Wnd() : NULL;
    worker.m_hWndLog = pLog != NULL ? pLog->Wnd()->m_hWnd : NULL;
    worker.m_bAutoDelete = FALSE;
    return worker.CreateThread() != FALSE;
}

bool RunReplay(CReplayThread& worker, CMessageLog* pLog, DWORD dwTimeout) {
    return StartReplay(worker, pLog) && worker.WaitForExit(dwTimeout) != FALSE;
}

CCurrentFolder::CCurrentFolder(const std::string& strFolder) : m_bSet(false) {
    char szPrevious[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, szPrevious);
    if (n == 0 || n >= MAX_PATH) return;
    m_strPrevious = szPrevious;
    char szFull[MAX_PATH];
    n = GetFullPathNameA(strFolder.c_str(), MAX_PATH, szFull, NULL);
    if (n == 0 || n >= MAX_PATH || (szFull[0] != 'C' && szFull[0] != 'c') || szFull[1] != ':') return;
    m_bSet = SetCurrentDirectoryA(szFull) != FALSE;
}

CCurrentFolder::~CCurrentFolder() {
    if (m_bSet) SetCurrentDirectoryA(m_strPrevious.c_str());
}
