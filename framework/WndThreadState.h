// Per-thread state of the window layer: the message being handled (for CWnd::Default) and the
// object waiting to be attached by the creation hook. Windows belong to the thread that made
// them, so each thread has its own.
#pragma once
#include <windows.h>

class CWnd;

struct AFX_WND_THREAD_STATE {
    MSG lastSentMsg;
    CWnd* pWndInit;
    HHOOK hHookCbt;
    int nHookDepth;  // creations under way; an OnCreate may create further windows
};

AFX_WND_THREAD_STATE& AfxGetWndThreadState();
