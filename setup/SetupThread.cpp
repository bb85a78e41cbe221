// CSetupThread's run sequence and its ways to reach the main window.
#include "setup/SetupThread.h"

#include "framework/MessageBox.h"
#include "framework/SystemErrorText.h"
#include "framework/Timings.h"
#include "framework/Wnd.h"
#include "setup/SetupMessages.h"

const char* const g_apszInstallFolders[INSTALL_FOLDER_COUNT] = {"Support", "Controls", "Database", "Dunmoor"};
const char INSTALLER_FILE_NAME[] = "Setup.exe";

CSetupThread::CSetupThread() {}

CSetupThread::~CSetupThread() {
    // The base destructor waits too, but only after this part of the object is gone, while the
    // thread could still be leaving Run through this class's ExitInstance.
    if (m_nThreadID != ::GetCurrentThreadId()) WaitForExit(INFINITE);
}

BOOL CSetupThread::InitInstance() {
    return TRUE;
}

int CSetupThread::Run() {
    AfxTimingMark("worker_start");
    // FALSE from a stage: the user chose to end the program at one of its prompts.
    BOOL bGoOn = EnsureRoomForCopy();
    if (bGoOn) {
        CancelRemovalsAtRestart();
        ReadEarlierRecord();
        bGoOn = CopyInstallFolders();
    }
    if (bGoOn) {
        AfxTimingMark("folders_done");
        bGoOn = CopyLooseFiles();
    }
    if (bGoOn) {
        AfxTimingMark("loose_done");
        RegisterControls();
        AfxTimingMark("controls_done");
        WriteRegistry();
        AfxTimingMark("registry_done");
        bGoOn = WriteInstallRecord();
    }
    if (bGoOn) {
        AfxTimingMark("record_done");
        AfxTimingThreadCpu("worker");
        NotifyMainWnd(UM_INSTALL_DONE, RestartNeeded() ? INSTALL_DONE_AT_RESTART : 0, 0);
    } else {
        // The window ends on its own thread, without the completion view.
        ::PostMessageW(MainWindowHandle(), WM_CLOSE, 0, 0);
    }
    ::PostThreadMessageW(m_nThreadID, WM_QUIT, 0, 0);
    return CWinThread::Run();
}

int CSetupThread::ExitInstance() {
    return CWinThread::ExitInstance();
}

BOOL CSetupThread::CopyInstallFolders() {
    for (int i = 0; i < INSTALL_FOLDER_COUNT; ++i) {
        if (!CopyFolder(m_strSourceDir + g_apszInstallFolders[i], m_strTargetDir + g_apszInstallFolders[i]))
            return FALSE;
    }
    return TRUE;
}

void CSetupThread::NotifyMainWnd(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    HWND hWndMain = MainWindowHandle();
    if (hWndMain != NULL) ::SendMessageW(hWndMain, nMsg, wParam, lParam);
}

int CSetupThread::AskUser(const char* pszFormat, DWORD dwError, const CString& strPath, UINT nType) {
    CString strSystemText = AfxGetSystemErrorText(dwError);
    CString strText;
    strText.Format(pszFormat, static_cast<const char*>(strSystemText), static_cast<const char*>(strPath));
    return AfxShowMessageBox(MainWindowHandle(), strText, NULL, nType);
}
