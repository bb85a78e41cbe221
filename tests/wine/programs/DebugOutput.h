// A program run under this test as its debugger, the way a support person's debugger or
// debug-output viewer sees it: every OutputDebugString line it writes is collected.
#pragma once
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DebuggedProgram {
public:
    // Starts the program with the given current folder, as its debugger.
    DebuggedProgram(const std::string& exePath, const std::string& currentFolder);
    // Ends the program if it still runs.
    ~DebuggedProgram();
    DebuggedProgram(const DebuggedProgram&) = delete;
    DebuggedProgram& operator=(const DebuggedProgram&) = delete;

    DWORD ProcessId() const { return m_processId; }
    // True when the program ended within the time.
    bool WaitForExit(DWORD milliseconds);
    // The lines written so far, each without its line end.
    std::vector<std::string> Lines();

private:
    void Debug(std::string exePath, std::string currentFolder);

    std::thread m_debugger;  // a process is debugged by the thread that started it
    HANDLE m_started;
    HANDLE m_process = NULL;
    DWORD m_processId = 0;
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
};
