// CWinThread: a thread object whose InitInstance/Run/ExitInstance a subclass overrides.
// Unlike the classic class, m_bAutoDelete defaults to FALSE: the object belongs to whoever made it.
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"
#include "framework/Handles.h"

class CWnd;

class CWinThread {
public:
    CWinThread();
    // Waits for a thread that still runs, so the object can never die under it.
    virtual ~CWinThread();

    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the thread: InitInstance; when it returns TRUE, Run; else ExitInstance. The exit
    // code is the result of Run or ExitInstance. FALSE when the thread could not be created.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);

    virtual BOOL InitInstance();
    // The standard message loop: runs until WM_QUIT, then returns ExitInstance().
    virtual int Run();
    virtual int ExitInstance();

    // Waits until the thread has ended. While waiting, messages that other threads send to this
    // (the calling) thread's windows are handled, so a worker blocked in SendMessage to us can
    // finish instead of deadlocking. TRUE when the thread has ended (or never started).
    BOOL WaitForExit(DWORD dwMilliseconds = INFINITE) const;
    BOOL IsRunning() const;

    CWnd* m_pMainWnd;    // window that receives the thread's messages and owns its prompts
    BOOL m_bAutoDelete;  // delete the object when the thread ends (FALSE unless set)
    HANDLE m_hThread;    // owned by m_thread; kept under the framework's name for callers
    DWORD m_nThreadID;

protected:
    // The main window's handle, for the thread's messages and prompts. Taken by CreateThread on
    // the creating thread, which owns the window, so the thread never reads the window object;
    // before the thread is created (a stage called directly), the main window's own handle.
    HWND MainWindowHandle() const;

    int m_nExitCode;  // wParam of the WM_QUIT that ended Run

private:
    static unsigned __stdcall ThreadEntry(void* pParam);
    CKernelHandle m_thread;
    HWND m_hWndMain;
};
