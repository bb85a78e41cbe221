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
    CFileException error;
    if (WriteInstallRecordFile(m_strTargetDir, m_strRecord, error)) return TRUE;
    // The file error's standard report, modal to the dialog like the worker's prompts.
    error.ReportError(MB_OK, MainWindowHandle());
    return FALSE;
}
