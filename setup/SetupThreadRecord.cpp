// CSetupThread's install record operations.
#include "framework/Wnd.h"
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

BOOL CSetupThread::WriteInstallRecord() {
    CFileException error;
    if (WriteInstallRecordFile(m_strTargetDir, m_strRecord, error)) return TRUE;
    // The file error's standard report, modal to the dialog like the worker's prompts.
    error.ReportError(MB_OK, MainWindowHandle());
    return FALSE;
}
