// Running the uninstall worker in a test: a window of the test thread that logs what the worker
// sends, a worker whose batch step only reports itself, and a sandbox for the current folder.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/WindowHelpers.h"
#include "uninstall/UninstallThread.h"

// Sent by CReplayThread instead of writing the batch, or of registering the removal at the next
// restart, so the log shows where the step ran.
const UINT UM_TEST_BATCH = WM_APP + 1;
const UINT UM_TEST_RESTART = WM_APP + 2;

struct LoggedMessage {
    UINT nMsg;
    std::string strPath;  // UM_FILE_DELETED: the path it carried
    bool bWatchedExists;  // whether the watched file (Watch) existed when the message came
    WPARAM wParam;
};

// A message-only window of the creating thread. Messages are handled whenever that thread
// pumps: WaitForExit does, and so does PumpMessages().
class CMessageLog {
public:
    CMessageLog();

    CWnd* Wnd() { return m_window.Wnd(); }
    void Destroy() { m_window.Destroy(); }
    // A file whose presence is noted with every message from now on.
    void Watch(const std::string& strPath) { m_strWatched = strPath; }
    const std::vector<LoggedMessage>& Messages() const { return m_messages; }
    size_t Count(UINT nMsg) const;
    std::vector<std::string> DeletedPaths() const;

private:
    void Log(UINT nMsg, const std::string& strPath, WPARAM wParam = 0);
    std::vector<LoggedMessage> m_messages;
    std::string m_strWatched;
    HandlerWindow m_window;
};

// The worker with its removal steps replaced: a replay in a test must not start a batch that
// deletes the test program once it ends, nor have the system delete it at the next restart.
class CReplayThread : public CUninstallThread {
public:
    CReplayThread() : m_nBatches(0), m_bBatchStarts(TRUE), m_hWndLog(NULL) {}
    // Stops the worker while these overrides still stand: once the base destructor runs, a call
    // would reach the real ones.
    ~CReplayThread() override { StopAndWait(); }
    BOOL WriteRemovalBatch() override;
    BOOL RemoveAtRestart() override;
    volatile LONG m_nBatches;
    BOOL m_bBatchStarts;  // what the batch step answers: whether a batch would run
    HWND m_hWndLog;       // where the removal steps report; set before the start
};

void SetRecord(CUninstallThread& worker, const std::string& strRecord);
// Starts the worker on the record it holds, with the log's window as its main window.
bool StartReplay(CReplayThread& worker, CMessageLog* pLog);
// StartReplay, then waits (handling what the worker sends). FALSE when it did not end in time.
bool RunReplay(CReplayThread& worker, CMessageLog* pLog, DWORD dwTimeout = 60000);

// Makes a folder on drive C: the current folder while alive, so that nothing relative to the
// current drive (such as "\DelUS.bat") can land outside the Wine prefix's drive C:.
class CCurrentFolder {
public:
    explicit CCurrentFolder(const std::string& strFolder);
    ~CCurrentFolder();
    CCurrentFolder(const CCurrentFolder&) = delete;
    CCurrentFolder& operator=(const CCurrentFolder&) = delete;
    bool IsSet() const { return m_bSet; }

private:
    std::string m_strPrevious;
    bool m_bSet;
};
