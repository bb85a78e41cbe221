// A program started by a test, ended again should the test leave it running.
#pragma once
#include <windows.h>

#include <string>

class RunningProgram {
public:
    // Starts the program with the given current folder (the test's own when empty) and arguments
    // after its quoted path; Started() tells whether it could.
    RunningProgram(const std::string& exePath, const std::string& currentFolder,
                   const std::string& arguments = "");
    // The same for a path that only UTF-16 can name.
    RunningProgram(const std::wstring& exePath, const std::wstring& currentFolder);
    // Ends the program if it still runs, so that a failing test leaves nothing behind.
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return m_process != NULL; }
    DWORD ProcessId() const { return m_processId; }
    // True when the program ended within the time; its exit code is then in *exitCode.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr);
    bool IsRunning() const;

private:
    void Adopt(const PROCESS_INFORMATION& info);
    HANDLE m_process = NULL;
    DWORD m_processId = 0;
};
