#include "RunningProgram.h"

#include <stdio.h>

#include "GbkText.h"

RunningProgram::RunningProgram(const std::string& exePath, const std::string& currentFolder,
                               const std::string& arguments) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    const std::wstring path = Wide(exePath);
    const std::wstring folder = Wide(currentFolder);
    std::wstring commandLine = L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + Wide(arguments));
    if (!CreateProcessW(path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                        folder.empty() ? NULL : folder.c_str(), &startup, &info)) {
        fprintf(stderr, "cannot start %s: error %lu\n", exePath.c_str(), GetLastError());
        return;
    }
    Adopt(info);
}

RunningProgram::RunningProgram(const std::wstring& exePath, const std::wstring& currentFolder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!CreateProcessW(exePath.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL,
                        currentFolder.empty() ? NULL : currentFolder.c_str(), &startup, &info)) {
        fprintf(stderr, "cannot start a program by its UTF-16 path: error %lu\n", GetLastError());
        return;
    }
    Adopt(info);
}

void RunningProgram::Adopt(const PROCESS_INFORMATION& info) {
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_processId = info.dwProcessId;
}

RunningProgram::~RunningProgram() {
    if (m_process == NULL) return;
    if (IsRunning()) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool RunningProgram::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
    if (m_process == NULL) return false;
    if (WaitForSingleObject(m_process, milliseconds) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(m_process, exitCode);
    return true;
}

bool RunningProgram::IsRunning() const {
    return m_process != NULL && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}
