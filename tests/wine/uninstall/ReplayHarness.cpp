#include "ReplayHarness.h"

#include "tests/native/StringBytes.h"
#include "uninstall/UninstallMessages.h"

MessageLog::MessageLog()
    : m_window([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
          switch (message) {
          case UM_FILE_DELETED:
              Log(message, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "<null>");
              result = 1;
              return true;
          case UM_FILES_DONE:
          case UM_UNINSTALL_DONE:
          case kBatchStepMessage:
          case kRestartStepMessage:
              Log(message, std::string(), wParam);
              result = 1;
              return true;
          }
          return false;
      }) {}

size_t MessageLog::Count(UINT message) const {
    size_t n = 0;
    for (const LoggedMessage& m : m_messages)
        if (m.message == message) ++n;
    return n;
}

std::vector<std::string> MessageLog::DeletedPaths() const {
    std::vector<std::string> paths;
    for (const LoggedMessage& m : m_messages)
        if (m.message == UM_FILE_DELETED) paths.push_back(m.path);
    return paths;
}

void MessageLog::Log(UINT message, const std::string& path, WPARAM wParam) {
    bool exists = !m_watched.empty() && GetFileAttributesA(m_watched.c_str()) != INVALID_FILE_ATTRIBUTES;
    m_messages.push_back({message, path, exists, wParam});
}

BOOL ReplayThread::WriteRemovalBatch() {
    InterlockedIncrement(&batches);
    if (logWindow != NULL) SendMessageA(logWindow, kBatchStepMessage, 0, 0);
    return batchStarts;
}

BOOL ReplayThread::RemoveAtRestart() {
    if (logWindow != NULL) SendMessageA(logWindow, kRestartStepMessage, 0, 0);
    return TRUE;
}

void SetRecord(CUninstallThread& worker, const std::string& record) {
    worker.m_strRecord = Text(record);
}

bool StartReplay(ReplayThread& worker, MessageLog* log) {
    worker.m_pMainWnd = log != NULL ? log->Wnd() : NULL;
    worker.logWindow = log != NULL ? log->Wnd()->m_hWnd : NULL;
    return worker.CreateThread() != FALSE;
}

bool RunReplay(ReplayThread& worker, MessageLog* log, DWORD timeout) {
    return StartReplay(worker, log) && worker.WaitForExit(timeout) != FALSE;
}

CurrentFolder::CurrentFolder(const std::string& folder) : m_set(false) {
    char previous[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, previous);
    if (n == 0 || n >= MAX_PATH) return;
    m_previous = previous;
    char full[MAX_PATH];
    n = GetFullPathNameA(folder.c_str(), MAX_PATH, full, NULL);
    if (n == 0 || n >= MAX_PATH || (full[0] != 'C' && full[0] != 'c') || full[1] != ':') return;
    m_set = SetCurrentDirectoryA(full) != FALSE;
}

CurrentFolder::~CurrentFolder() {
    if (m_set) SetCurrentDirectoryA(m_previous.c_str());
}
