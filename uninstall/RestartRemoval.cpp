#include "uninstall/RestartRemoval.h"

#include "framework/ModulePath.h"
#include "framework/PathText.h"
#include "uninstall/UninstallThread.h"

BOOL RemoveProgramAtRestart(const CString& strRecordPath) {
    CString strExe;
    if (!AfxGetModulePath(strExe)) return FALSE;
    const CString strFolder = PathParent(strExe);
    if (strFolder.IsEmpty() || PathEndsWithSeparator(strFolder)) return FALSE;  // never a drive's root
    BOOL bTaken = ::MoveFileExA(strExe, NULL, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (!strRecordPath.IsEmpty())
        bTaken = ::MoveFileExA(strRecordPath, NULL, MOVEFILE_DELAY_UNTIL_REBOOT) && bTaken;
    return ::MoveFileExA(strFolder, NULL, MOVEFILE_DELAY_UNTIL_REBOOT) && bTaken;
}

BOOL CUninstallThread::RemoveAtRestart() {
    return RemoveProgramAtRestart(RecordFileToRemove());
}
