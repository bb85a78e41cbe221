// Per-thread state of the window layer: the message being handled (for CWnd::Default), the
// object waiting to be attached by the creation hook, and the last objects found for this
// thread's windows. Windows belong to the thread that made them, so each thread has its own.
#pragma once
#include <windows.h>

class CWnd;

struct AFX_WND_LOOKUP_ENTRY {
    HWND hWnd;  // NULL: unused
    CWnd* pWnd;
};

const int AFX_WND_LOOKUP_SIZE = 8;  // a dialog with its controls; more only costs a lookup

struct AFX_WND_LOOKUP_CACHE {
    AFX_WND_LOOKUP_ENTRY entries[AFX_WND_LOOKUP_SIZE];
    int nNext;                   // the entry replaced next
    unsigned long nDetachCount;  // of all threads' detaches, when the entries were last valid
};

struct AFX_WND_THREAD_STATE {
    MSG lastSentMsg;
    CWnd* pWndInit;
    HHOOK hHookCbt;
    int nHookDepth;  // creations under way; an OnCreate may create further windows
    AFX_WND_LOOKUP_CACHE lookup;
};

AFX_WND_THREAD_STATE& AfxGetWndThreadState();
