#include "DebugOutput.h"

DebuggedProgram::DebuggedProgram(const std::string& exePath, const std::string& currentFolder)
    : started_(CreateEventA(NULL, TRUE, FALSE, NULL)) {
    debugger_ = std::thread(&DebuggedProgram::Debug, this, exePath, currentFolder);
    WaitForSingleObject(started_, 30000);
}

DebuggedProgram::~DebuggedProgram() {
    if (process_ != NULL && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 99);
    if (debugger_.joinable()) debugger_.join();
    if (process_ != NULL) CloseHandle(process_);
    CloseHandle(started_);
}

bool DebuggedProgram::WaitForExit(DWORD milliseconds) {
    return process_ != NULL && WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

std::vector<std::string> DebuggedProgram::Lines() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
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
        process_ = pi.hProcess;
        processId_ = pi.dwProcessId;
    }
    SetEvent(started_);
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
                ReadProcessMemory(process_, info.lpDebugStringData, &text[0], text.size(), &read)) {
                text.resize(read);
                if (!text.empty() && text.back() == '\0') text.pop_back();
                pending += text;
                std::lock_guard<std::mutex> lock(mutex_);
                for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1))
                    lines_.push_back(pending.substr(0, end));
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
