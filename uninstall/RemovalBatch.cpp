#include "uninstall/RemovalBatch.h"

#include "framework/Handles.h"
#include "framework/NarrowString.h"
#include "uninstall/RemovalBatchText.h"
#include "uninstall/UninstallThread.h"

namespace {

// The executable's full path; FALSE when it does not fit MAX_PATH, as the cut path that
// GetModuleFileNameA then returns names another file.
BOOL GetExePath(CString& strPath) {
    char szPath[MAX_PATH];
    DWORD nLength = ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH) return FALSE;
    strPath = CString(szPath, static_cast<int>(nLength));
    return TRUE;
}

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

}  // namespace

BOOL StartRemovalBatch(int nPasses) {
    CString strExePath;
    CString strText;
    if (!GetExePath(strExePath) || !BuildRemovalBatchText(strExePath, nPasses, strText)) return FALSE;
    if (!WriteBatchFile(strText)) return FALSE;

    STARTUPINFOA si;
    ::ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi;
    ::ZeroMemory(&pi, sizeof pi);
    char szCommand[sizeof REMOVAL_BATCH_PATH];  // CreateProcessA may write into its command line
    ::lstrcpyA(szCommand, REMOVAL_BATCH_PATH);
    if (!::CreateProcessA(NULL, szCommand, NULL, NULL, FALSE, CREATE_SUSPENDED | IDLE_PRIORITY_CLASS,
                          NULL, "\\", &si, &pi))
        return FALSE;
    CKernelHandle hProcess(pi.hProcess);
    CKernelHandle hThread(pi.hThread);

    // The batch stays suspended until every priority is set, so its loop only ever gets the
    // processor when no thread of ours is ready to run.
    ::SetThreadPriority(hThread, THREAD_PRIORITY_IDLE);
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    ::SetPriorityClass(::GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    hProcess.Close();
    ::ResumeThread(hThread);
    hThread.Close();
    return TRUE;
}

void CUninstallThread::WriteRemovalBatch() { StartRemovalBatch(REMOVAL_BATCH_PASSES); }
