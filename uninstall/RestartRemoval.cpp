#include "uninstall/RestartRemoval.h"

#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "framework/ModulePath.h"
#include "framework/PathText.h"
#include "uninstall/UninstallThread.h"

namespace {

BOOL DeleteAtRestart(const CString& strPath) {
    if (AfxMoveFileEx(strPath, NULL, MOVEFILE_DELAY_UNTIL_REBOOT)) return TRUE;
    AfxTraceFailure("MoveFileExW (delete at the next restart)", strPath, ::GetLastError());
    return FALSE;
}

}  // namespace

BOOL RemoveProgramAtRestart(const CString& strRecordPath) {
    CString strExe;
    if (!AfxGetModulePath(strExe)) return FALSE;
    const CString strFolder = PathParent(strExe);
    if (strFolder.IsEmpty() || PathEndsWithSeparator(strFolder)) return FALSE;  // never a drive's root
    BOOL bTaken = DeleteAtRestart(strExe);
    if (!strRecordPath.IsEmpty()) bTaken = DeleteAtRestart(strRecordPath) && bTaken;
    return DeleteAtRestart(strFolder) && bTaken;
}

BOOL CUninstallThread::RemoveAtRestart() {
    return RemoveProgramAtRestart(RecordFileToRemove());
}

namespace {

// The errors of a deletion of a file that another program holds: open without delete sharing,
// mapped (a loaded module), or refused outright while it runs.
BOOL IsInUseError(DWORD dwError) {
    return dwError == ERROR_SHARING_VIOLATION || dwError == ERROR_LOCK_VIOLATION ||
           dwError == ERROR_USER_MAPPED_FILE || dwError == ERROR_ACCESS_DENIED;
}

// strPath lies below strFolder (letter case aside; both are whole GBK texts, so the byte after
// the folder starts a character).
BOOL LiesBelow(const CString& strPath, const CString& strFolder) {
    const int nFolder = strFolder.GetLength();
    return strPath.GetLength() > nFolder && strPath[nFolder] == '\\' &&
           strPath.Left(nFolder).CompareNoCase(strFolder) == 0;
}

}  // namespace

BOOL CUninstallThread::RemoveFileAtRestart(const CString& strPath, DWORD dwError) {
    if (!IsInUseError(dwError) || !DeleteAtRestart(strPath)) return FALSE;
    m_arrAtRestart.Add(strPath);
    return TRUE;
}

BOOL CUninstallThread::RemoveFolderAtRestart(const CString& strFolder) {
    // Only a folder the restart empties: one that holds a file of the user's stays.
    for (int i = 0; i < m_arrAtRestart.GetSize(); ++i) {
        if (LiesBelow(m_arrAtRestart[i], strFolder)) return DeleteAtRestart(strFolder);
    }
    return FALSE;
}

void CUninstallThread::RemoveInstallFolderAtRestart() {
    const CString strFolder = PathParent(m_strRecordPath);
    if (strFolder.IsEmpty() || PathEndsWithSeparator(strFolder)) return;  // never a drive's root
    DeleteAtRestart(strFolder);
}
