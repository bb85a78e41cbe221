#include "uninstall/UninstallThread.h"

#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "framework/Wnd.h"
#include "uninstall/ReplayValues.h"
#include "uninstall/TestSeams.h"
#include "uninstall/UninstallMessages.h"

static_assert(REPLAY_PATH_LIMIT == MAX_PATH, "record paths are limited as the narrow file functions are");

CUninstallThread::CUninstallThread() : m_bStop(FALSE), m_hInstallLock(NULL), m_bRecordListed(FALSE) {}

CUninstallThread::~CUninstallThread() {
    // An auto-deleting worker is destroyed on its own thread, after its work.
    if (m_nThreadID != ::GetCurrentThreadId()) StopAndWait(INFINITE);
}

BOOL CUninstallThread::InitInstance() {
    // The control stage comes first so that each control can still be loaded for its
    // unregistration; the file stage then deletes the same paths again, without effect.
    EndHereIfAsked("controls");
    UnregisterControls();
    EndHereIfAsked("files");
    DeleteFiles();
    Notify(UM_FILES_DONE, 0, 0);
    EndHereIfAsked("folders");
    RemoveFolders();
    EndHereIfAsked("keys");
    DeleteRegKeys();
    if (m_bStop) return FALSE;  // an uninstall ended early leaves the program and its record
    EndHereIfAsked("batch");
    const WPARAM nFilesAtRestart = FilesRemovedAtRestart() ? UNINSTALL_FILES_AT_RESTART : 0;
    if (WriteRemovalBatch()) {
        // Only now: whatever ends the program from here on, the waiting interpreter runs the batch,
        // which deletes the record too should it still be there. What it cannot remove for the
        // files in use, the install folder, goes at the restart after them.
        DeleteRecordFile();
        if (nFilesAtRestart != 0) RemoveInstallFolderAtRestart();
        EndHereIfAsked("record");
        Notify(UM_UNINSTALL_DONE, nFilesAtRestart, 0);
    } else {
        // The record stays for a second run; the system takes what the batch would have taken,
        // the install folder last.
        Notify(UM_UNINSTALL_DONE, (RemoveAtRestart() ? UNINSTALL_DONE_AT_RESTART : 0) | nFilesAtRestart, 0);
    }
    return FALSE;
}

int CUninstallThread::ExitInstance() {
    return CWinThread::ExitInstance();
}

BOOL CUninstallThread::StopAndWait(DWORD dwMilliseconds) {
    Stop();
    return WaitForExit(dwMilliseconds);
}

BOOL CUninstallThread::IsRecordFile(const CString& strPath) const {
    return !m_strRecordPath.IsEmpty() && strPath.CompareNoCase(m_strRecordPath) == 0;
}

CString CUninstallThread::RecordFileToRemove() const {
    // Only when the record names it: nothing is deleted that the record does not list.
    return m_bRecordListed ? m_strRecordPath : CString();
}

void CUninstallThread::DeleteRecordFile() {
    const CString strRecord = RecordFileToRemove();
    if (!strRecord.IsEmpty() && !AfxDeleteFile(strRecord)) AfxTraceDeletionFailure("DeleteFileW", strRecord);
}

BOOL CUninstallThread::NextRecordValue(int nKind, int& nPos, CString& strValue, BOOL& bEnded) const {
    int nStart = 0;
    int nLength = 0;
    if (!FindRecord(nKind, nPos, nStart, nLength)) return FALSE;
    strValue = CString(static_cast<const char*>(m_strRecord) + nStart, nLength);
    bEnded = nStart + nLength < m_strRecord.GetLength();  // something follows: its line end
    return TRUE;
}

void CUninstallThread::Notify(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    // After a stop the dialog may be on its way out: the message that was already under way is
    // the last one it gets.
    HWND hWndMain = MainWindowHandle();
    if (m_bStop || hWndMain == NULL) return;
    ::SendMessageW(hWndMain, nMsg, wParam, lParam);
}
