// CSetupThread's install record operations.
#include "framework/Wnd.h"
#include "record/RecordFile.h"
#include "record/RecordFormat.h"
#include "record/RecordHive.h"
#include "setup/SetupThread.h"

namespace {

// The system's text for the error, then the record file. Abort (the default button) stops the
// install, Retry writes again, Ignore completes the install without a whole record.
const char RECORD_PROMPT[] =
    "%s\n"
    "不能写入安装记录文件 %s ，\n"
    "点击“重试”按钮试图重新写入该文件；\n"
    "点击“忽略”按钮将不保存完整的安装记录并继续执行；\n"
    "点击“中止”按钮将终止程序运行。";
const UINT RECORD_PROMPT_TYPE = MB_ABORTRETRYIGNORE | MB_ICONQUESTION;

}  // namespace

void CSetupThread::AddFileRecord(const CString& strPath) {
    AppendRecord(m_strRecord, RECORD_FILE, strPath);
}

void CSetupThread::AddFolderRecord(const CString& strPath) {
    AppendRecord(m_strRecord, RECORD_FOLDER, strPath);
}

void CSetupThread::AddControlRecord(const CString& strPath) {
    AppendRecord(m_strRecord, RECORD_CONTROL, strPath);
}

void CSetupThread::AddRegKeyRecord(HKEY hRoot, const CString& strKeyPath) {
    AppendRegKeyRecord(m_strRecord, RecordHiveOfKey(hRoot), strKeyPath);
}

BOOL CSetupThread::WriteInstallRecord() {
    const CString strWithoutItself = m_strRecord;  // each try appends the record's own line anew
    for (;;) {
        m_strRecord = strWithoutItself;
        CFileException error;
        if (WriteInstallRecordFile(m_strTargetDir, m_strRecord, error)) return TRUE;
        const int nAnswer = AskUser(RECORD_PROMPT, static_cast<DWORD>(error.m_lOsError), error.m_strFileName,
                                    RECORD_PROMPT_TYPE);
        if (nAnswer == IDIGNORE) return TRUE;
        if (nAnswer != IDRETRY) return FALSE;
    }
}
