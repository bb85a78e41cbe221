// Which object a window is attached to. The object is kept in a window property, which answers
// from any thread; but reading a property costs a round trip to the window server on some
// systems, and the window procedure asks on every message. So each thread also keeps the last
// few answers for its own windows, dropped whenever any window is detached.
#include <atomic>

#include "framework/Wnd.h"
#include "framework/WndThreadState.h"

namespace {

const wchar_t OBJECT_PROP[] = L"Pindlemark.CWnd";

// Bumped after every detach, whichever thread detaches: lookups cached before it may be stale.
std::atomic<unsigned long> s_nDetachCount(0);

}  // namespace

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == NULL) return NULL;
    AFX_WND_LOOKUP_CACHE& cache = AfxGetWndThreadState().lookup;
    // Read before the property: a detach that ends after this read is seen at the next lookup.
    const unsigned long nDetachCount = s_nDetachCount.load();
    if (cache.nDetachCount != nDetachCount) {
        for (int i = 0; i < AFX_WND_LOOKUP_SIZE; ++i) cache.entries[i].hWnd = NULL;
        cache.nDetachCount = nDetachCount;
    }
    for (int i = 0; i < AFX_WND_LOOKUP_SIZE; ++i) {
        if (cache.entries[i].hWnd == hWnd) return cache.entries[i].pWnd;
    }

    CWnd* pWnd = static_cast<CWnd*>(::GetPropW(hWnd, OBJECT_PROP));
    // Only this thread's windows: they cannot end without their WM_NCDESTROY, which detaches,
    // while another thread's window ends with its thread, and its handle may come back.
    if (pWnd != NULL && ::GetWindowThreadProcessId(hWnd, NULL) == ::GetCurrentThreadId()) {
        AFX_WND_LOOKUP_ENTRY& entry = cache.entries[cache.nNext];
        entry.hWnd = hWnd;
        entry.pWnd = pWnd;
        cache.nNext = (cache.nNext + 1) % AFX_WND_LOOKUP_SIZE;
    }
    return pWnd;
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == NULL || m_hWnd != NULL || FromHandlePermanent(hWnd) != NULL) return FALSE;
    if (!::SetPropW(hWnd, OBJECT_PROP, this)) return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != NULL && FromHandlePermanent(hWnd) == this) {
        ::RemovePropW(hWnd, OBJECT_PROP);
        ++s_nDetachCount;  // after the removal: a lookup that reads the new count finds no property
    }
    m_hWnd = NULL;
    return hWnd;
}
