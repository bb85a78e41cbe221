// CUninstallThread's install record operations.
#include "uninstall/UninstallThread.h"

#include "framework/Wnd.h"
#include "record/RecordFile.h"
#include "record/RecordFormat.h"
#include "uninstall/UninstallMessages.h"

BOOL CUninstallThread::ReadInstallRecord(const CString& strPath) {
    if (ReadInstallRecordFile(strPath, m_strRecord)) return TRUE;
    if (m_pMainWnd != NULL) m_pMainWnd->PostMessage(UM_UNINSTALL_FAILED, 0, 0);
    return FALSE;
}

BOOL CUninstallThread::FindRecord(int nKind, int& nPos, int& nValueStart, int& nValueLength) const {
    return ::FindRecord(m_strRecord, nKind, nPos, nValueStart, nValueLength);
}

int CUninstallThread::CountRecords(int nKind) const {
    return ::CountRecords(m_strRecord, nKind);
}
