// The control stage: each recorded control is unregistered, then its file deleted.
#include "framework/ControlEntry.h"
#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "record/RecordFormat.h"
#include "uninstall/ReplayValues.h"
#include "uninstall/UninstallThread.h"

namespace {
const char UNREGISTER_ENTRY[] = "DllUnregisterServer";
}  // namespace

BOOL CUninstallThread::UnregisterControls() {
    int nPos = 0;
    CString strPath;
    BOOL bEnded = FALSE;
    while (!m_bStop && NextRecordValue(RECORD_CONTROL, nPos, strPath, bEnded)) {
        if (!bEnded || !IsReplayablePath(strPath)) continue;
        UnregisterControl(strPath);
        if (!AfxDeleteFile(strPath)) AfxTraceDeletionFailure("DeleteFileW", strPath);
    }
    return !m_bStop;
}

BOOL CUninstallThread::UnregisterControl(const CString& strPath) {
    // A bare module name would be looked for along the search path and could load a system DLL.
    if (!IsReplayablePath(strPath)) return FALSE;
    return AfxCallControlEntry(strPath, UNREGISTER_ENTRY);
}
