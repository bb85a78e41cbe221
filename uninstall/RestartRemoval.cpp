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
