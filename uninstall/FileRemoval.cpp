// The file stage: each recorded file is deleted and reported, whether the deletion worked or not,
// so that the dialog's progress bar, sized by the number of file records, ends at 100 %. The
// record file itself is only reported here: it is deleted last, once the removal batch waits, so
// that an uninstall that ends before (closed at the wrong moment, killed, a power cut) can be
// finished by running it again.
#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "framework/ModulePath.h"
#include "record/RecordFormat.h"
#include "uninstall/ReplayValues.h"
#include "uninstall/UninstallMessages.h"
#include "uninstall/UninstallThread.h"

BOOL CUninstallThread::DeleteFiles() {
    // The running program is a file of the record too; the removal batch deletes it once the
    // program has ended, so its failure here is no failure.
    CString strRunning;
    AfxGetModulePath(strRunning);
    int nPos = 0;
    CString strPath;
    BOOL bEnded = FALSE;
    while (!m_bStop && NextRecordValue(RECORD_FILE, nPos, strPath, bEnded)) {
        if (bEnded && IsReplayablePath(strPath)) {
            if (IsRecordFile(strPath))
                m_bRecordListed = TRUE;
            else if (!AfxDeleteFile(strPath) && strPath.CompareNoCase(strRunning) != 0) {
                const DWORD dwError = ::GetLastError();
                AfxTraceDeletionFailure("DeleteFileW", strPath);
                RemoveFileAtRestart(strPath, dwError);
            }
        }
        Notify(UM_FILE_DELETED, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(strPath)));
    }
    return !m_bStop;
}
