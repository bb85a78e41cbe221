// The window procedure of attached windows and the dispatch through message maps.
#include "framework/Wnd.h"
#include "framework/WndThreadState.h"

AFX_WND_THREAD_STATE& AfxGetWndThreadState() {
    static thread_local AFX_WND_THREAD_STATE s_state = {};
    return s_state;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL) return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);

    AFX_WND_THREAD_STATE& state = AfxGetWndThreadState();
    MSG msgSaved = state.lastSentMsg;  // handlers send messages too: Default() needs its own
    state.lastSentMsg.hwnd = hWnd;
    state.lastSentMsg.message = nMsg;
    state.lastSentMsg.wParam = wParam;
    state.lastSentMsg.lParam = lParam;
    LRESULT lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    if (nMsg == WM_NCDESTROY) pWnd->FinishNcDestroy();  // the object may be gone after this
    state.lastSentMsg = msgSaved;
    return lResult;
}

LRESULT CWnd::Default() {
    const MSG& msg = AfxGetWndThreadState().lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(nMsg, wParam, lParam, &lResult)) lResult = DefWindowProc(nMsg, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != NULL) return ::CallWindowProcW(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, nMsg, wParam, lParam);
}

namespace {

BOOL IsCtlColorMessage(UINT nMsg) {
    return nMsg >= WM_CTLCOLORMSGBOX && nMsg <= WM_CTLCOLORSTATIC;
}

// The child a reflectable message concerns, or null when the message is not reflected.
HWND ReflectionTarget(UINT nMsg, LPARAM lParam) {
    if (IsCtlColorMessage(nMsg)) return reinterpret_cast<HWND>(lParam);
    if (nMsg == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* pDraw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (pDraw != NULL && pDraw->CtlType != ODT_MENU) return pDraw->hwndItem;
    }
    return NULL;
}

}  // namespace

BOOL CWnd::DispatchToMap(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap != NULL ? pMap->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfnThunk != NULL; ++pEntry) {
            if (pEntry->nMessage == nMsg) {
                *pResult = pEntry->pfnThunk(this, wParam, lParam);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (IsCtlColorMessage(nMsg)) {
        AFX_CTLCOLOR ctl = {reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam),
                            nMsg - WM_CTLCOLORMSGBOX};
        if (DispatchToMap(WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), pResult)) return TRUE;
    } else if (DispatchToMap(nMsg, wParam, lParam, pResult)) {
        return TRUE;
    }
    HWND hWndChild = ReflectionTarget(nMsg, lParam);
    return hWndChild != NULL && ReflectChildNotify(hWndChild, nMsg, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(HWND hWndChild, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (pChild == NULL || pChild == this) return FALSE;
    return pChild->OnChildNotify(nMsg, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (IsCtlColorMessage(nMsg)) {
        AFX_CTLCOLOR ctl = {reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam),
                            nMsg - WM_CTLCOLORMSGBOX};
        LRESULT lBrush = 0;
        if (!DispatchToMap(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), &lBrush))
            return FALSE;
        if (lBrush == 0) return FALSE;  // no brush: the parent answers as usual
        *pResult = lBrush;
        return TRUE;
    }
    return DispatchToMap(WM_REFLECT_BASE + nMsg, wParam, lParam, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, NULL}};
    static const AFX_MSGMAP s_map = {NULL, &s_entries[0]};
    return &s_map;
}
