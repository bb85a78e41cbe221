// Running the uninstall worker in a test: a window of the test thread that logs what the worker
// sends, a worker whose batch step only reports itself, and a sandbox for the current folder.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/WindowHelpers.h"
#include "uninstall/UninstallThread.h"

// Sent by ReplayThread instead of writing the batch, or of registering the removal at the next
// restart, so the log shows where the step ran.
const UINT kBatchStepMessage = WM_APP + 1;
const UINT kRestartStepMessage = WM_APP + 2;

struct LoggedMessage {
    UINT message;
    std::string path;    // UM_FILE_DELETED: the path it carried
    bool watchedExists;  // whether the watched file (Watch) existed when the message came
    WPARAM wParam;
};

// A message-only window of the creating thread. Messages are handled whenever that thread
// pumps: WaitForExit does, and so does PumpMessages().
class MessageLog {
public:
    MessageLog();

    CWnd* Wnd() { return m_window.Wnd(); }
    void Destroy() { m_window.Destroy(); }
    // A file whose presence is noted with every message from now on.
    void Watch(const std::string& path) { m_watched = path; }
    const std::vector<LoggedMessage>& Messages() const { return m_messages; }
    size_t Count(UINT message) const;
    std::vector<std::string> DeletedPaths() const;

private:
    void Log(UINT message, const std::string& path, WPARAM wParam = 0);
    std::vector<LoggedMessage> m_messages;
    std::string m_watched;
    HandlerWindow m_window;
};

// The worker with its removal steps replaced: a replay in a test must not start a batch that
// deletes the test program once it ends, nor have the system delete it at the next restart.
class ReplayThread : public CUninstallThread {
public:
    ReplayThread() : batches(0), batchStarts(TRUE), logWindow(NULL) {}
    // Stops the worker while these overrides still stand: once the base destructor runs, a call
    // would reach the real ones.
    ~ReplayThread() override { StopAndWait(); }
    BOOL WriteRemovalBatch() override;
    BOOL RemoveAtRestart() override;
    volatile LONG batches;
    BOOL batchStarts;  // what the batch step answers: whether a batch would run
    HWND logWindow;    // where the removal steps report; set before the start
};

void SetRecord(CUninstallThread& worker, const std::string& record);
// Starts the worker on the record it holds, with the log's window as its main window.
bool StartReplay(ReplayThread& worker, MessageLog* log);
// StartReplay, then waits (handling what the worker sends). FALSE when it did not end in time.
bool RunReplay(ReplayThread& worker, MessageLog* log, DWORD timeout = 60000);

// Makes a folder on drive C: the current folder while alive, so that nothing relative to the
// current drive (such as "\DelUS.bat") can land outside the Wine prefix's drive C:.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;
    bool IsSet() const { return m_set; }

private:
    std::string m_previous;
    bool m_set;
};
