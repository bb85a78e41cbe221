#include "framework/WinThread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/WindowHelpers.h"

namespace {

class QuitAtOnceThread : public CWinThread {
public:
    BOOL InitInstance() override { return TRUE; }
    int Run() override {
        ranOn = GetCurrentThreadId();
        PostThreadMessageA(m_nThreadID, WM_QUIT, 7, 0);
        return CWinThread::Run();
    }
    int ExitInstance() override {
        ++exits;
        return CWinThread::ExitInstance();
    }
    DWORD ranOn = 0;
    int exits = 0;
};

class WorkInInitThread : public CWinThread {
public:
    BOOL InitInstance() override {
        worked = true;
        return FALSE;
    }
    int ExitInstance() override { return 42; }
    bool worked = false;
};

// Sends to its main window from the worker, the way the install and uninstall workers do.
class SendingThread : public CWinThread {
public:
    BOOL InitInstance() override {
        result = m_pMainWnd->SendMessage(WM_USER + 1, 0, 0);
        return FALSE;
    }
    LRESULT result = 0;
};

DWORD ExitCode(const CWinThread& thread) {
    DWORD code = 0;
    GetExitCodeThread(thread.m_hThread, &code);
    return code;
}

}  // namespace

TEST(WinThread, RunEndsWithTheQuitMessageAndExitInstance) {
    QuitAtOnceThread thread;
    ASSERT_TRUE(thread.CreateThread());
    ASSERT_TRUE(thread.WaitForExit(10000));
    EXPECT_EQ(thread.ranOn, thread.m_nThreadID);
    EXPECT_NE(thread.ranOn, GetCurrentThreadId());
    EXPECT_EQ(thread.exits, 1);
    EXPECT_EQ(ExitCode(thread), 7u);
    EXPECT_FALSE(thread.CreateThread()) << "a thread object runs once";
}

TEST(WinThread, FalseFromInitInstanceGoesToExitInstance) {
    WorkInInitThread thread;
    ASSERT_TRUE(thread.CreateThread());
    ASSERT_TRUE(thread.WaitForExit(10000));
    EXPECT_TRUE(thread.worked);
    EXPECT_EQ(ExitCode(thread), 42u);
}

TEST(WinThread, WaitingHandlesMessagesTheWorkerSendsToUs) {
    HandlerWindow window([](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_USER + 1) return false;
        result = 99;
        return true;
    });
    ASSERT_NE(window.Handle(), nullptr);

    SendingThread thread;
    thread.m_pMainWnd = window.Wnd();
    ASSERT_TRUE(thread.CreateThread());
    // A plain WaitForSingleObject here would deadlock: the worker waits in SendMessage for us.
    EXPECT_TRUE(thread.WaitForExit(10000));
    EXPECT_EQ(thread.result, 99);
}

TEST(WinThread, SuspendedStartRunsOnlyAfterResume) {
    WorkInInitThread thread;
    ASSERT_TRUE(thread.CreateThread(CREATE_SUSPENDED));
    EXPECT_FALSE(thread.WaitForExit(100));
    EXPECT_FALSE(thread.worked);
    ResumeThread(thread.m_hThread);
    EXPECT_TRUE(thread.WaitForExit(10000));
    EXPECT_TRUE(thread.worked);
}

TEST(WinThread, AutoDeleteFreesTheObjectOnItsOwnThread) {
    static bool destroyed;
    struct SelfDeleting : WorkInInitThread {
        ~SelfDeleting() override { destroyed = true; }
    };
    destroyed = false;
    SelfDeleting* thread = new SelfDeleting;
    thread->m_bAutoDelete = TRUE;
    ASSERT_TRUE(thread->CreateThread());
    for (int i = 0; i < 500 && !destroyed; ++i) Sleep(10);
    EXPECT_TRUE(destroyed);
}
