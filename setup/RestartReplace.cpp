// CSetupThread's answer to a target file it cannot replace because something holds it (a running
// CAD program has it loaded or open): the new copy goes beside it under a temporary name and the
// system puts it in place at the next restart; a control so replaced is registered after that
// restart, at the first sign-in of an administrator, by the system's regsvr32.
#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "framework/PathText.h"
#include "record/RestartTempName.h"
#include "setup/RegistryValues.h"
#include "setup/SetupThread.h"

namespace {

const char RUN_ONCE_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char RUN_ONCE_PREFIX[] = "Pindlemark V5 ";  // + the control's file name: one value per control
const char REGSVR32_FORMAT[] = "\"%s\\regsvr32.exe\" /s \"%s\"";

// The errors of a copy over a file that another program holds: open without write sharing, mapped
// (a loaded module), or refused outright while it runs.
BOOL IsInUseError(DWORD dwError) {
    return dwError == ERROR_SHARING_VIOLATION || dwError == ERROR_LOCK_VIOLATION ||
           dwError == ERROR_USER_MAPPED_FILE || dwError == ERROR_ACCESS_DENIED;
}

}  // namespace

BOOL CSetupThread::CopyFailedOver(const CString& strSource, const CString& strTarget, DWORD dwError) {
    if (AfxGetFileAttributes(strTarget) == INVALID_FILE_ATTRIBUTES) return FALSE;
    // From here on the target exists: whether it is the new copy after the restart or the one an
    // earlier install left, it is recorded, so that no uninstall leaves it behind.
    // A read-only target refuses the copy too, but nothing holds it and a restart would not help.
    if (!IsInUseError(dwError) || (AfxGetFileAttributes(strTarget) & FILE_ATTRIBUTE_READONLY) != 0)
        return TRUE;
    const CString strTemp = RestartTempPath(strTarget);
    if (strTemp.IsEmpty()) {
        AfxTraceFailure("naming a temporary file beside", strTarget, ERROR_FILENAME_EXCED_RANGE);
        return TRUE;
    }
    if (!AfxCopyFile(strSource, strTemp, FALSE)) {
        AfxTraceFailure("CopyFileW", strTemp, ::GetLastError());
        return TRUE;
    }
    // The source's read-only mark would come with the rename and stop the uninstall's deletion.
    if (!AfxSetFileAttributes(strTemp, FILE_ATTRIBUTE_NORMAL))
        AfxTraceFailure("SetFileAttributesW", strTemp, ::GetLastError());
    if (!AfxMoveFileEx(strTemp, strTarget, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING)) {
        AfxTraceFailure("MoveFileExW (replace at the next restart)", strTarget, ::GetLastError());
        if (!AfxDeleteFile(strTemp)) AfxTraceFailure("DeleteFileW", strTemp, ::GetLastError());
        return TRUE;
    }
    // Named in the record as well: an uninstall before the restart deletes it, and the rename
    // then finds nothing to move.
    AddFileRecord(strTemp);
    m_arrReplacedAtRestart.Add(strTarget);
    return TRUE;
}

BOOL CSetupThread::IsReplacedAtRestart(const CString& strTarget) const {
    for (int i = 0; i < m_arrReplacedAtRestart.GetSize(); ++i) {
        if (m_arrReplacedAtRestart[i].CompareNoCase(strTarget) == 0) return TRUE;
    }
    return FALSE;
}

void CSetupThread::RegisterAtRestart(const CString& strControl) {
    CString strSystem;
    if (!AfxGetSystemFolder(strSystem)) {
        AfxTraceFailure("GetSystemDirectoryW", strControl, ::GetLastError());
        return;
    }
    CString strCommand;
    strCommand.Format(REGSVR32_FORMAT, static_cast<const char*>(strSystem),
                      static_cast<const char*>(strControl));
    const CString strName = RUN_ONCE_PREFIX + PathLastComponent(strControl);
    SetMachineRegString(RUN_ONCE_KEY, strName, strCommand);  // a failure is traced there
}
