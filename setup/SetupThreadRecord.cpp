// CSetupThread's install record operations.
#include "framework/FileCalls.h"
#include "framework/PathText.h"
#include "framework/Wnd.h"
#include "record/ProductKeys.h"
#include "record/RecordCarry.h"
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

namespace {

// A record of the earlier install is carried while what it names is still there. The record file
// itself is not: the new record names it anew when it is written.
BOOL IsLeftFromEarlierInstall(const CString& strPath, void* pContext) {
    const CString& strRecordFile = *static_cast<const CString*>(pContext);
    return strPath.CompareNoCase(strRecordFile) != 0 &&
           AfxGetFileAttributes(strPath) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void CSetupThread::ReadEarlierRecord() {
    // A record that is missing or cannot be read carries nothing; the install goes on as a first one.
    CFileException error;
    if (!ReadInstallRecordFile(JoinPath(m_strTargetDir, RECORD_FILE_NAME), m_strEarlierRecord, error))
        m_strEarlierRecord.Empty();
}

BOOL CSetupThread::WriteInstallRecord() {
    CString strRecordFile = JoinPath(m_strTargetDir, RECORD_FILE_NAME);
    CarryEarlierRecords(m_strRecord, m_strEarlierRecord, m_strTargetDir, IsLeftFromEarlierInstall,
                        &strRecordFile);
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
