// CSetupThread::AnswerCopyFailure: what follows a file copy that failed. Only a full disk is
// asked about: the user can make room, and an install reported as complete must not lack the
// file. Every other failure is passed over, as the design has it.
#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "setup/SetupThread.h"

namespace {

// The system's text for the error, then the target file. Abort (the default button) stops the
// install, Retry copies again, Ignore goes on without the file.
const char DISK_FULL_PROMPT[] =
    "%s\n"
    "磁盘空间不足，不能复制文件 %s ，\n"
    "请释放磁盘空间后点击“重试”按钮重新复制该文件；\n"
    "点击“忽略”按钮将跳过该文件并继续执行；\n"
    "点击“中止”按钮将终止程序运行。";
const UINT DISK_FULL_PROMPT_TYPE = MB_ABORTRETRYIGNORE | MB_ICONQUESTION;

BOOL IsDiskFull(DWORD dwError) {
    return dwError == ERROR_DISK_FULL || dwError == ERROR_HANDLE_DISK_FULL;
}

}  // namespace

CSetupThread::CopyResult CSetupThread::AnswerCopyFailure(const CString& strTarget, DWORD dwError) {
    if (!IsDiskFull(dwError)) return COPY_FAILED;
    // The copy may have left the part it wrote (Wine's CopyFileW does), or an earlier install's
    // file already cut: no target stays that is not whole.
    if (!AfxDeleteFile(strTarget) && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        AfxTraceFailure("DeleteFileW (a copy cut short)", strTarget, ::GetLastError());
    switch (AskUser(DISK_FULL_PROMPT, dwError, strTarget, DISK_FULL_PROMPT_TYPE)) {
    case IDRETRY: return COPY_AGAIN;
    case IDIGNORE: return COPY_SKIPPED;
    default: return COPY_STOPPED;
    }
}
