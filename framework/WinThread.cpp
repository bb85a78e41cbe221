#include "framework/WinThread.h"

#include <process.h>

#include "framework/Wnd.h"

CWinThread::CWinThread()
    : m_pMainWnd(NULL),
      m_bAutoDelete(FALSE),
      m_hThread(NULL),
      m_nThreadID(0),
      m_nExitCode(0),
      m_hWndMain(NULL) {}

CWinThread::~CWinThread() {
    // An auto-deleting thread destroys itself from its own thread: nothing to wait for then.
    if (m_nThreadID != ::GetCurrentThreadId()) WaitForExit(INFINITE);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    if (m_thread.IsValid()) return FALSE;  // a thread object runs once
    m_hWndMain = m_pMainWnd != NULL ? m_pMainWnd->m_hWnd : NULL;
    // _beginthreadex, not ::CreateThread, so the C run-time's per-thread data is set up.
    // Created suspended so that the handle and id are stored before the thread can use them.
    unsigned nThreadId = 0;
    uintptr_t h = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                                 CREATE_SUSPENDED, &nThreadId);
    if (h == 0) return FALSE;
    m_thread.Attach(reinterpret_cast<HANDLE>(h));
    m_hThread = m_thread.Get();
    m_nThreadID = nThreadId;
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0) ::ResumeThread(m_hThread);
    return TRUE;
}

unsigned __stdcall CWinThread::ThreadEntry(void* pParam) {
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    int nResult = pThread->InitInstance() ? pThread->Run() : pThread->ExitInstance();
    if (pThread->m_bAutoDelete) delete pThread;
    return static_cast<unsigned>(nResult);
}

HWND CWinThread::MainWindowHandle() const {
    if (m_thread.IsValid()) return m_hWndMain;
    return m_pMainWnd != NULL ? m_pMainWnd->m_hWnd : NULL;
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::Run() {
    MSG msg;
    for (;;) {
        BOOL bResult = ::GetMessageW(&msg, NULL, 0, 0);
        if (bResult == 0 || bResult == -1) break;
        if (msg.hwnd == NULL) continue;  // thread messages have no handler here
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    m_nExitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

int CWinThread::ExitInstance() {
    return m_nExitCode;
}

BOOL CWinThread::IsRunning() const {
    return m_thread.IsValid() && ::WaitForSingleObject(m_thread.Get(), 0) == WAIT_TIMEOUT;
}

BOOL CWinThread::WaitForExit(DWORD dwMilliseconds) const {
    if (!m_thread.IsValid()) return TRUE;
    HANDLE hThread = m_thread.Get();
    DWORD dwStart = ::GetTickCount();
    for (;;) {
        DWORD dwWait = dwMilliseconds;
        if (dwMilliseconds != INFINITE) {
            DWORD dwElapsed = ::GetTickCount() - dwStart;
            if (dwElapsed >= dwMilliseconds) return FALSE;
            dwWait = dwMilliseconds - dwElapsed;
        }
        DWORD dwResult = ::MsgWaitForMultipleObjects(1, &hThread, FALSE, dwWait, QS_SENDMESSAGE);
        if (dwResult == WAIT_OBJECT_0) return TRUE;
        if (dwResult == WAIT_OBJECT_0 + 1) {
            // Handles only the messages sent from other threads; posted input stays queued.
            MSG msg;
            ::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        return FALSE;  // timeout or failure
    }
}
