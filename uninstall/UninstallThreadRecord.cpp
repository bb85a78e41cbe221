// CUninstallThread's install record operations.
#include "framework/Wnd.h"
#include "record/RecordFile.h"
#include "record/RecordFormat.h"
#include "uninstall/UninstallMessages.h"
#include "uninstall/UninstallThread.h"

BOOL CUninstallThread::ReadInstallRecord(const CString& strPath) {
    CFileException error;
    if (ReadInstallRecordFile(strPath, m_strRecord, error)) {
        m_strRecordPath = strPath;
        return TRUE;
    }
    // The file error's standard report, modal to the dialog; then the dialog is told.
    error.ReportError(MB_OK, MainWindowHandle());
    ::PostMessageW(MainWindowHandle(), UM_UNINSTALL_FAILED, 0, 0);
    return FALSE;
}

BOOL CUninstallThread::FindRecord(int nKind, int& nPos, int& nValueStart, int& nValueLength) const {
    return ::FindRecord(m_strRecord, nKind, nPos, nValueStart, nValueLength);
}

int CUninstallThread::CountRecords(int nKind) const {
    return ::CountRecords(m_strRecord, nKind);
}
