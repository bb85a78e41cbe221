#include "uninstall/RemovalBatch.h"

#include <wchar.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/AdminOnlySecurity.h"
#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/PathText.h"
#include "framework/WideText.h"
#include "uninstall/InheritedHandles.h"
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
        m_hOutput.Attach(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, NULL));
    }
    BOOL IsValid() const { return m_hInput.IsValid() && m_hSignal.IsValid() && m_hOutput.IsValid(); }

    CKernelHandle m_hInput;
    CKernelHandle m_hSignal;
    CFileHandle m_hOutput;
};

// Makes a handle inheritable for the life of the object, and no longer after.
class CInheritableScope {
public:
    explicit CInheritableScope(HANDLE h)
        : m_h(h),
          m_bInheritable(h != NULL && ::SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {}
    ~CInheritableScope() {
        if (m_bInheritable) ::SetHandleInformation(m_h, HANDLE_FLAG_INHERIT, 0);
    }
    CInheritableScope(const CInheritableScope&) = delete;
    CInheritableScope& operator=(const CInheritableScope&) = delete;
    BOOL IsInheritable() const { return m_bInheritable; }

private:
    HANDLE m_h;
    BOOL m_bInheritable;
};

// Traces why no batch will run; FALSE, for the caller to return.
BOOL NoBatch(LPCSTR pszWhat, LPCSTR pszObject, DWORD dwError) {
    AfxTraceFailure(CString("removal batch: ") + pszWhat, pszObject, dwError);
    return FALSE;
}

// A batch that others could change would run their commands elevated: on a drive that keeps no
// access rights (FAT), none is written.
BOOL KeepsAccessRights(const CString& strBatch) {
    const CWideText root(PathWithTrailingBackslash(PathParent(strBatch)));
    DWORD dwFlags = 0;
    return root.IsValid() && ::GetVolumeInformationW(root, NULL, 0, NULL, NULL, &dwFlags, NULL, 0) &&
           (dwFlags & FILE_PERSISTENT_ACLS) != 0;
}

// Made new, never opened: an existing file keeps its own access rights, which may be anyone's.
// What stands at the path goes first; a folder, or a file that cannot be deleted, stops the write.
BOOL WriteBatchFile(const CString& strBatch, const CString& strText) {
    if (AfxGetFileAttributes(strBatch) != INVALID_FILE_ATTRIBUTES && !AfxDeleteFile(strBatch))
        return NoBatch("DeleteFileW (what stands at the batch's name)", strBatch, ::GetLastError());
    CAdminOnlySecurity security;
    if (security.Get() == NULL)
        return NoBatch("building the batch's access list", strBatch, ::GetLastError());
    // Between the deletion and the creation a user may put a link at the name, which CREATE_NEW
    // would follow to where the link points: the link itself is opened instead, which fails as
    // the name exists. What was made is then checked on the handle: a second name (a hard link)
    // would let its owner keep and read the batch.
    CFileHandle hFile(
        AfxCreateFile(strBatch, GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, security.Get(), CREATE_NEW,
                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT));
    if (!hFile.IsValid()) return NoBatch("CreateFileW", strBatch, ::GetLastError());
    if (!AfxIsPlainFile(hFile)) {
        const DWORD dwLinkError = ::GetLastError();
        hFile.Close();
        AfxDeleteFile(strBatch);
        return NoBatch("what was made at the batch's name is a link or has a second name", strBatch,
                       dwLinkError);
    }
    DWORD nLength = static_cast<DWORD>(strText.GetLength());
    DWORD nWritten = 0;
    BOOL bWritten = ::WriteFile(hFile, static_cast<const char*>(strText), nLength, &nWritten, NULL);
    const DWORD dwError =
        bWritten ? ERROR_HANDLE_DISK_FULL : ::GetLastError();  // a short write: the disk is full
    hFile.Close();
    if (bWritten && nWritten == nLength) return TRUE;
    AfxDeleteFile(strBatch);
    return NoBatch("WriteFile", strBatch, dwError);
}

// The program's environment with the batch's variables, in UTF-16 as the interpreter keeps it.
BOOL BuildEnvironment(const CStringArray& arrVariables, std::u16string& strBlock) {
    std::vector<std::u16string> variables;
    for (int i = 0; i < arrVariables.GetSize(); ++i) {
        const CWideText variable(arrVariables[i]);
        if (!variable.IsValid()) return FALSE;
        variables.push_back(reinterpret_cast<const char16_t*>(static_cast<LPCWSTR>(variable)));
    }
    std::u16string strCurrent;
    if (LPWCH pwchBlock = ::GetEnvironmentStringsW()) {
        const wchar_t* pwch = pwchBlock;
        while (*pwch != L'\0') pwch += wcslen(pwch) + 1;
        strCurrent.assign(reinterpret_cast<const char16_t*>(pwchBlock),
                          static_cast<size_t>(pwch - pwchBlock) + 1);
        ::FreeEnvironmentStringsW(pwchBlock);
    }
    strBlock = WithVariables(strCurrent, variables);
    return TRUE;
}

// What the batch is made of: the paths it names, its text, the interpreter's command line and
// environment.
struct CBatchPlan {
    CRemovalBatchPaths paths;
    CString strSystem;
    CString strInterpreter;
    CString strText;
    CString strCommand;
    std::u16string strEnvironment;
};

// The program, its record, the batch and the pause program, all by their full paths.
BOOL FindBatchPaths(const CString& strRecordPath, CBatchPlan& plan) {
    plan.paths.strRecord = strRecordPath;
    if (!AfxGetModulePath(plan.paths.strExe))
        return NoBatch("the program's path, given cut short", "", ERROR_FILENAME_EXCED_RANGE);
    if (!AfxGetSystemFolder(plan.strSystem) || !AfxGetFullPath(REMOVAL_BATCH_PATH, plan.paths.strBatch))
        return NoBatch("the system folder or the drive root", "", ::GetLastError());
    plan.paths.strPause = JoinPath(plan.strSystem, "ping.exe");
    plan.strInterpreter = JoinPath(plan.strSystem, "cmd.exe");
    return TRUE;
}

BOOL ComposeBatch(int nPasses, CBatchPlan& plan) {
    CStringArray arrVariables;
    if (!BuildRemovalBatch(plan.paths, nPasses, plan.strText, arrVariables) ||
        !BuildRemovalBatchCommand(plan.strInterpreter, plan.strCommand) ||
        !BuildEnvironment(arrVariables, plan.strEnvironment))
        return NoBatch("a path that the batch cannot name", plan.paths.strExe, ERROR_BAD_PATHNAME);
    return TRUE;
}

// Starts the interpreter hidden, at idle priority, in the system folder, waiting on the streams'
// input and holding hInstallLock on (unless NULL) until the batch has ended.
BOOL StartWaitingInterpreter(const CBatchPlan& plan, const CBatchStreams& streams, HANDLE hInstallLock,
                             CKernelHandle& hProcess) {
    const CWideText interpreter(plan.strInterpreter);
    const CWideText system(plan.strSystem);
    const CWideText command(plan.strCommand);
    STARTUPINFOW si;
    ::ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = SW_HIDE;
    si.hStdInput = streams.m_hInput;
    si.hStdOutput = streams.m_hOutput;
    si.hStdError = streams.m_hOutput;
    // Only for this start is the lock's handle inheritable.
    CInheritableScope lockInherited(hInstallLock);
    const HANDLE ahInherited[] = {streams.m_hInput, streams.m_hOutput, hInstallLock};
    CInheritedHandles inherited(si, ahInherited, lockInherited.IsInheritable() ? 3 : 2);
    PROCESS_INFORMATION pi;
    ::ZeroMemory(&pi, sizeof pi);
    // CreateProcessW may write into its command line.
    std::vector<WCHAR> commandLine(static_cast<LPCWSTR>(command),
                                   static_cast<LPCWSTR>(command) + command.GetLength() + 1);
    // Handles are inherited: the interpreter gets its streams, and where the system can list them,
    // nothing else. The interpreter is not started suspended: it waits on its input for the
    // program's end anyway, and a suspended one would be left for ever by a program that ended
    // (was killed) before letting it go.
    if (!::CreateProcessW(interpreter, &commandLine[0], NULL, NULL, TRUE,
                          IDLE_PRIORITY_CLASS | CREATE_UNICODE_ENVIRONMENT | inherited.CreationFlags(),
                          const_cast<char16_t*>(plan.strEnvironment.c_str()), system, inherited.StartupInfo(),
                          &pi))
        return NoBatch("CreateProcessW", plan.strInterpreter, ::GetLastError());
    hProcess.Attach(pi.hProcess);
    CKernelHandle hThread(pi.hThread);
    return TRUE;
}

// Written only now that an interpreter waits to run it. A failure ends the interpreter while it
// still waits, before it could run any batch (not even one left by another program). One that has
// ended already never started properly.
BOOL WriteBatchForInterpreter(const CBatchPlan& plan, HANDLE hProcess) {
    if (!WriteBatchFile(plan.paths.strBatch, plan.strText)) {
        ::TerminateProcess(hProcess, 0);
        return FALSE;
    }
    if (::WaitForSingleObject(hProcess, 0) != WAIT_TIMEOUT) {
        AfxDeleteFile(plan.paths.strBatch);
        DWORD dwExitCode = 0;
        ::GetExitCodeProcess(hProcess, &dwExitCode);
        return NoBatch("the interpreter ended before the batch was written", plan.strInterpreter, dwExitCode);
    }
    return TRUE;
}

}  // namespace

// No priority is raised for the batch's sake: it blocks on its input until the program has ended
// and pauses with ping between its tries, so it never takes the processor from the program.
BOOL StartRemovalBatch(const CString& strRecordPath, int nPasses, HANDLE hInstallLock) {
    CBatchPlan plan;
    if (!FindBatchPaths(strRecordPath, plan) || !ComposeBatch(nPasses, plan)) return FALSE;
    if (!KeepsAccessRights(plan.paths.strBatch))
        return NoBatch("a drive that keeps no access rights", plan.paths.strBatch, ERROR_NOT_SUPPORTED);
    CBatchStreams streams;
    if (!streams.IsValid()) return NoBatch("the interpreter's input", "", ::GetLastError());
    CKernelHandle hProcess;
    if (!StartWaitingInterpreter(plan, streams, hInstallLock, hProcess)) return FALSE;
    EndHereIfAsked("batch-file");
    if (!WriteBatchForInterpreter(plan, hProcess)) return FALSE;
    // From here the pipe's end is kept until the program ends, and the batch runs then.
    g_hRunningSignal = std::move(streams.m_hSignal);
    EndHereIfAsked("batch-run");
    return TRUE;
}

BOOL CUninstallThread::WriteRemovalBatch() {
    return StartRemovalBatch(RecordFileToRemove(), REMOVAL_BATCH_PASSES, m_hInstallLock);
}
