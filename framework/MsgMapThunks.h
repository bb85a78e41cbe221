// The adapters behind the message-map entries (see MsgMap.h). Each one is instantiated for one
// class and one handler; the typed local pointer checks the handler's signature at compile time.
#pragma once
#include <windows.h>

#include "framework/Dc.h"
#include "framework/Geometry.h"
#include "framework/Wnd.h"

// A CWnd* for a handle during one call: the attached object, or a temporary one, or null.
class CTempWndRef {
public:
    explicit CTempWndRef(HWND hWnd) : m_pWnd(CWnd::FromHandlePermanent(hWnd)) {
        if (m_pWnd == NULL && hWnd != NULL) {
            m_wndTemp.m_hWnd = hWnd;
            m_pWnd = &m_wndTemp;
        }
    }
    ~CTempWndRef() { m_wndTemp.m_hWnd = NULL; }
    CTempWndRef(const CTempWndRef&) = delete;
    CTempWndRef& operator=(const CTempWndRef&) = delete;
    CWnd* Get() const { return m_pWnd; }

private:
    CWnd m_wndTemp;
    CWnd* m_pWnd;
};

template <class T, auto pfn>
LRESULT AfxThunkVoid(CWnd* pWnd, WPARAM, LPARAM) {
    void (T::*pfnTyped)() = pfn;
    (static_cast<T*>(pWnd)->*pfnTyped)();
    return 0;
}

template <class T, auto pfn>
LRESULT AfxThunkCreate(CWnd* pWnd, WPARAM, LPARAM lParam) {
    int (T::*pfnTyped)(LPCREATESTRUCTW) = pfn;
    return (static_cast<T*>(pWnd)->*pfnTyped)(reinterpret_cast<LPCREATESTRUCTW>(lParam));
}

template <class T, auto pfn>
LRESULT AfxThunkEraseBkgnd(CWnd* pWnd, WPARAM wParam, LPARAM) {
    BOOL (T::*pfnTyped)(CDC*) = pfn;
    CTempDC dc(reinterpret_cast<HDC>(wParam));
    return (static_cast<T*>(pWnd)->*pfnTyped)(&dc);
}

template <class T, auto pfn>
LRESULT AfxThunkSize(CWnd* pWnd, WPARAM wParam, LPARAM lParam) {
    void (T::*pfnTyped)(UINT, int, int) = pfn;
    (static_cast<T*>(pWnd)->*pfnTyped)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
}

template <class T, auto pfn>
LRESULT AfxThunkMouse(CWnd* pWnd, WPARAM wParam, LPARAM lParam) {
    void (T::*pfnTyped)(UINT, CPoint) = pfn;
    // Signed: positions left of or above the window arrive while the mouse is captured.
    CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    (static_cast<T*>(pWnd)->*pfnTyped)(static_cast<UINT>(wParam), pt);
    return 0;
}

template <class T, auto pfn>
LRESULT AfxThunkFocus(CWnd* pWnd, WPARAM wParam, LPARAM) {
    void (T::*pfnTyped)(CWnd*) = pfn;
    CTempWndRef other(reinterpret_cast<HWND>(wParam));
    (static_cast<T*>(pWnd)->*pfnTyped)(other.Get());
    return 0;
}

template <class T, auto pfn>
LRESULT AfxThunkKey(CWnd* pWnd, WPARAM wParam, LPARAM lParam) {
    void (T::*pfnTyped)(UINT, UINT, UINT) = pfn;
    (static_cast<T*>(pWnd)->*pfnTyped)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
}

template <class T, auto pfn>
LRESULT AfxThunkTimer(CWnd* pWnd, WPARAM wParam, LPARAM) {
    void (T::*pfnTyped)(UINT_PTR) = pfn;
    (static_cast<T*>(pWnd)->*pfnTyped)(static_cast<UINT_PTR>(wParam));
    return 0;
}

template <class T, auto pfn>
LRESULT AfxThunkSysCommand(CWnd* pWnd, WPARAM wParam, LPARAM lParam) {
    void (T::*pfnTyped)(UINT, LPARAM) = pfn;
    (static_cast<T*>(pWnd)->*pfnTyped)(static_cast<UINT>(wParam), lParam);
    return 0;
}

template <class T, auto pfn>
LRESULT AfxThunkQueryDragIcon(CWnd* pWnd, WPARAM, LPARAM) {
    HCURSOR (T::*pfnTyped)() = pfn;
    return reinterpret_cast<LRESULT>((static_cast<T*>(pWnd)->*pfnTyped)());
}

template <class T, auto pfn>
LRESULT AfxThunkCtlColor(CWnd* pWnd, WPARAM, LPARAM lParam) {
    HBRUSH (T::*pfnTyped)(CDC*, CWnd*, UINT) = pfn;
    const AFX_CTLCOLOR* pCtl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam);
    CTempDC dc(pCtl->hDC);
    CTempWndRef child(pCtl->hWnd);
    return reinterpret_cast<LRESULT>((static_cast<T*>(pWnd)->*pfnTyped)(&dc, child.Get(), pCtl->nCtlType));
}

template <class T, auto pfn>
LRESULT AfxThunkCtlColorReflect(CWnd* pWnd, WPARAM, LPARAM lParam) {
    HBRUSH (T::*pfnTyped)(CDC*, UINT) = pfn;
    const AFX_CTLCOLOR* pCtl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam);
    CTempDC dc(pCtl->hDC);
    return reinterpret_cast<LRESULT>((static_cast<T*>(pWnd)->*pfnTyped)(&dc, pCtl->nCtlType));
}

template <class T, auto pfn>
LRESULT AfxThunkMessage(CWnd* pWnd, WPARAM wParam, LPARAM lParam) {
    LRESULT (T::*pfnTyped)(WPARAM, LPARAM) = pfn;
    return (static_cast<T*>(pWnd)->*pfnTyped)(wParam, lParam);
}
