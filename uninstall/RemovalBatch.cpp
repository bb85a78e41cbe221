#include "uninstall/RemovalBatch.h"

#include <utility>

#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/PathText.h"
#include "uninstall/RemovalBatchText.h"
#include "uninstall/TestSeams.h"
#include "uninstall/UninstallThread.h"

namespace {

// The write end of the pipe that is the batch's standard input. Nothing is ever written to it:
// the batch waits for its end of the pipe to report the end of the input, which comes when the
// system closes this handle, that is when the program ends, whether it returns, is ended by the
// user or the system, or crashes. A handle is the one thing the system releases on every kind of
// end; polling the executable with a time limit could not tell a program that still runs from one
// whose file can never be deleted. Owned for the rest of the process's life.
CKernelHandle g_hRunningSignal;

// The batch's standard streams: input from the pipe, output to the NUL device. The batch inherits
// its copies; the program's own ones go at the end of StartRemovalBatch, so no later child gets
// them. STARTF_USESTDHANDLES is what makes the batch read the pipe: without it, "set /p" would
// read the hidden console and wait for ever.
class CBatchStreams {
public:
    CBatchStreams() {
        // Both ends are made uninheritable and only the read end is then opened to inheritance:
        // were the batch to hold the write end too, its input would never end.
        HANDLE hRead = NULL;
        HANDLE hWrite = NULL;
        if (!::CreatePipe(&hRead, &hWrite, NULL, 0)) return;
        m_hInput.Attach(hRead);
        m_hSignal.Attach(hWrite);
        if (!::SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) m_hInput.Close();
        SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
        m_hOutput.Attach(::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, NULL));
    }
    BOOL IsValid() const { return m_hInput.IsValid() && m_hSignal.IsValid() && m_hOutput.IsValid(); }

    CKernelHandle m_hInput;
    CKernelHandle m_hSignal;
    CFileHandle m_hOutput;
};

BOOL WriteBatchFile(const CString& strText) {
    CFileHandle hFile(::CreateFileA(REMOVAL_BATCH_PATH, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, NULL));
    if (!hFile.IsValid()) return FALSE;
    DWORD nLength = static_cast<DWORD>(strText.GetLength());
    DWORD nWritten = 0;
    BOOL bWritten = ::WriteFile(hFile, static_cast<const char*>(strText), nLength, &nWritten, NULL);
    hFile.Close();
    if (bWritten && nWritten == nLength) return TRUE;
    ::DeleteFileA(REMOVAL_BATCH_PATH);
    return FALSE;
}

// The system folder's cmd.exe: %ComSpec% may name another shell.
BOOL GetInterpreterPath(CString& strPath) {
    char szFolder[MAX_PATH];
    UINT nLength = ::GetSystemDirectoryA(szFolder, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH) return FALSE;
    strPath = PathWithTrailingBackslash(szFolder) + "cmd.exe";
    return TRUE;
}

}  // namespace

BOOL StartRemovalBatch(int nPasses) {
    CString strExePath;
    CString strText;
    CString strInterpreter;
    CString strCommand;
    if (!AfxGetModulePath(strExePath) || !BuildRemovalBatchText(strExePath, nPasses, strText) ||
        !GetInterpreterPath(strInterpreter) || !BuildRemovalBatchCommand(strInterpreter, strCommand))
        return FALSE;
    CBatchStreams streams;
    if (!streams.IsValid()) return FALSE;

    STARTUPINFOA si;
    ::ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = streams.m_hInput;
    si.hStdOutput = streams.m_hOutput;
    si.hStdError = streams.m_hOutput;
    PROCESS_INFORMATION pi;
    ::ZeroMemory(&pi, sizeof pi);
    char szCommand[REMOVAL_BATCH_COMMAND_LIMIT];  // CreateProcessA may write into its command line
    ::lstrcpyA(szCommand, strCommand);            // fits: BuildRemovalBatchCommand checked the length
    // Handles are inherited: the interpreter gets its streams. The program's other handles are not
    // inheritable, so nothing else goes with them. The interpreter is not started suspended: it
    // waits on its input for the program's end anyway, and a suspended one would be left for ever
    // by a program that ended (was killed) before letting it go.
    if (!::CreateProcessA(strInterpreter, szCommand, NULL, NULL, TRUE, IDLE_PRIORITY_CLASS, NULL, "\\", &si,
                          &pi))
        return FALSE;
    CKernelHandle hProcess(pi.hProcess);
    CKernelHandle hThread(pi.hThread);
    EndHereIfAsked("batch-file");

    // Written only now that an interpreter waits to run it. Up to the point where the pipe's end is
    // kept, a failure ends the interpreter while it still waits, before it could run any batch
    // (not even one left by another program). One that has ended already never started properly.
    if (!WriteBatchFile(strText)) {
        ::TerminateProcess(hProcess, 0);
        return FALSE;
    }
    if (::WaitForSingleObject(hProcess, 0) != WAIT_TIMEOUT) {
        ::DeleteFileA(REMOVAL_BATCH_PATH);
        return FALSE;
    }
    g_hRunningSignal = std::move(streams.m_hSignal);
    EndHereIfAsked("batch-run");

    // The batch's loop gets the processor only when no thread of ours is ready to run.
    ::SetThreadPriority(hThread, THREAD_PRIORITY_IDLE);
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    return TRUE;
}

void CUninstallThread::WriteRemovalBatch() {
    StartRemovalBatch(REMOVAL_BATCH_PASSES);
}
