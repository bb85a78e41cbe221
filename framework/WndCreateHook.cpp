#include "framework/WndCreateHook.h"

#include "framework/Wnd.h"
#include "framework/WndThreadState.h"

void AfxAttachCreatingWindow(CWnd* pWnd, HWND hWnd) {
    if (!pWnd->Attach(hWnd)) return;
    pWnd->PreSubclassWindow();
    pWnd->HookWndProc();
}

namespace {

BOOL IsImeWindow(HWND hWnd) {
    WCHAR wszClass[16] = L"";
    ::GetClassNameW(hWnd, wszClass, 16);
    return ::lstrcmpiW(wszClass, L"IME") == 0;
}

LRESULT CALLBACK CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam) {
    AFX_WND_THREAD_STATE& state = AfxGetWndThreadState();
    if (nCode == HCBT_CREATEWND && state.pWndInit != NULL) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        // The system may create an input-method window first, on the thread's first window.
        if (!IsImeWindow(hWnd)) {
            CWnd* pWnd = state.pWndInit;
            state.pWndInit = NULL;
            AfxAttachCreatingWindow(pWnd, hWnd);
        }
    }
    return ::CallNextHookEx(state.hHookCbt, nCode, wParam, lParam);
}

}  // namespace

BOOL AfxHookWindowCreate(CWnd* pWnd) {
    AFX_WND_THREAD_STATE& state = AfxGetWndThreadState();
    if (pWnd == NULL || state.pWndInit != NULL) return FALSE;  // one window awaited at a time
    if (state.hHookCbt == NULL) {
        state.hHookCbt = ::SetWindowsHookExW(WH_CBT, CbtFilterHook, NULL, ::GetCurrentThreadId());
        if (state.hHookCbt == NULL) return FALSE;
    }
    ++state.nHookDepth;
    state.pWndInit = pWnd;
    return TRUE;
}

BOOL AfxUnhookWindowCreate() {
    AFX_WND_THREAD_STATE& state = AfxGetWndThreadState();
    if (state.nHookDepth == 0) return FALSE;
    BOOL bAttached = state.pWndInit == NULL;
    state.pWndInit = NULL;
    if (--state.nHookDepth == 0) {
        ::UnhookWindowsHookEx(state.hHookCbt);
        state.hHookCbt = NULL;
    }
    return bAttached;
}
