#include "DebugOutput.h"

DebuggedProgram::DebuggedProgram(const std::string& exePath, const std::string& currentFolder)
    : m_started(CreateEventA(NULL, TRUE, FALSE, NULL)) {
    m_debugger = std::thread(&DebuggedProgram::Debug, this, exePath, currentFolder);
    WaitForSingleObject(m_started, 30000);
}

DebuggedProgram::~DebuggedProgram() {
    if (m_process != NULL && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
        TerminateProcess(m_process, 99);
    if (m_debugger.joinable()) m_debugger.join();
    if (m_process != NULL) CloseHandle(m_process);
    CloseHandle(m_started);
}

bool DebuggedProgram::WaitForExit(DWORD milliseconds) {
    return m_process != NULL && WaitForSingleObject(m_process, milliseconds) == WAIT_OBJECT_0;
}

std::vector<std::string> DebuggedProgram::Lines() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

void DebuggedProgram::Debug(std::string exePath, std::string currentFolder) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + exePath + "\"";
    const BOOL created = CreateProcessA(exePath.c_str(), &commandLine[0], NULL, NULL, FALSE,
                                        DEBUG_ONLY_THIS_PROCESS, NULL, currentFolder.c_str(), &si, &pi);
    if (created) {
        CloseHandle(pi.hThread);
        m_process = pi.hProcess;
        m_processId = pi.dwProcessId;
    }
    SetEvent(m_started);
    if (!created) return;

    std::string pending;  // a line may come in pieces
    for (bool ended = false; !ended;) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, INFINITE)) break;
        DWORD continueStatus = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (event.u.CreateProcessInfo.hFile != NULL) CloseHandle(event.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (event.u.LoadDll.hFile != NULL) CloseHandle(event.u.LoadDll.hFile);
            break;
        case OUTPUT_DEBUG_STRING_EVENT: {
            const OUTPUT_DEBUG_STRING_INFO& info = event.u.DebugString;
            std::string text(info.nDebugStringLength, '\0');
            SIZE_T read = 0;
            if (!info.fUnicode &&
                ReadProcessMemory(m_process, info.lpDebugStringData, &text[0], text.size(), &read)) {
                text.resize(read);
                if (!text.empty() && text.back() == '\0') text.pop_back();
                pending += text;
                std::lock_guard<std::mutex> lock(m_mutex);
                for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
                    m_lines.push_back(pending.substr(0, end));
            }
            break;
        }
        case EXCEPTION_DEBUG_EVENT:
            // The first breakpoint is the system's own; any other exception is the program's.
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                continueStatus = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case EXIT_PROCESS_DEBUG_EVENT: ended = true; break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    }
}
