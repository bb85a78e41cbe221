// The folder stage. The install records a folder before anything inside it, so walking the
// records backwards removes sub-folders before their parents. Only empty folders go: one that
// still holds something (a file the user added) stays, and so do the folders above it; one that
// holds a file the next restart deletes goes at that restart, after the file.
#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "framework/StringArray.h"
#include "record/RecordFormat.h"
#include "uninstall/ReplayValues.h"
#include "uninstall/UninstallThread.h"

BOOL CUninstallThread::RemoveFolders() {
    CStringArray arrFolders;
    int nPos = 0;
    CString strPath;
    BOOL bEnded = FALSE;
    while (NextRecordValue(RECORD_FOLDER, nPos, strPath, bEnded)) {
        if (bEnded && IsReplayablePath(strPath)) arrFolders.Add(strPath);
    }
    if (m_bStop) return FALSE;
    for (int i = arrFolders.GetUpperBound(); i >= 0; --i) {
        if (!AfxRemoveDirectory(arrFolders[i])) {
            AfxTraceDeletionFailure("RemoveDirectoryW", arrFolders[i]);
            RemoveFolderAtRestart(arrFolders[i]);
        }
        if (m_bStop) return FALSE;
    }
    return TRUE;
}
