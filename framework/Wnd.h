// CWnd: a window object over an HWND.
//
// Worker threads use only the handle and sending to it (m_hWnd, SendMessage, PostMessage,
// MessageBox); such a CWnd may simply be given a handle through m_hWnd.
//
// The user-interface side attaches the object to its window, which routes the window's messages
// through the object's message map (MsgMap.h):
// - SubclassWindow / SubclassDlgItem take over an existing window, such as a control that a
//   dialog template created: PreSubclassWindow runs, then the window procedure is replaced and
//   the old one is kept for Default().
// - CreateEx creates a window and attaches it before its first message (WM_NCCREATE), through
//   AfxHookWindowCreate (WndCreateHook.h). A dialog class creates its template the same way.
// An attached window is detached after WM_NCDESTROY, and PostNcDestroy runs. Destroying the
// object first destroys its attached window (or, from another thread, detaches it).
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"
#include "framework/Geometry.h"
#include "framework/MsgMap.h"

class CDC;
class CString;

class CWnd {
public:
    CWnd();
    virtual ~CWnd();

    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    LRESULT SendMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, nMsg, wParam, lParam);
    }
    BOOL PostMessage(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, nMsg, wParam, lParam);
    }
    // A message box owned by this window; a null caption shows the application's name.
    int MessageBox(LPCSTR pszText, LPCSTR pszCaption = NULL, UINT nType = MB_OK) const;

    // --- attaching -------------------------------------------------------------------------
    // The object attached to a window, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWnd);  // maps without subclassing; FALSE if either side is taken
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();
    BOOL CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU hMenuOrID, LPVOID pParam = NULL);
    BOOL DestroyWindow();

    // --- the window ------------------------------------------------------------------------
    BOOL IsWindow() const { return m_hWnd != NULL && ::IsWindow(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParentHwnd() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItemHwnd(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
    // Removes, then adds style bits; nFlags other than 0 also calls SetWindowPos with them
    // (plus SWP_NOSIZE, SWP_NOMOVE, SWP_NOZORDER, SWP_NOACTIVATE). FALSE if nothing changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    void GetClientRect(LPRECT pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void GetWindowRect(LPRECT pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void ClientToScreen(LPPOINT pPoint) const { ::ClientToScreen(m_hWnd, pPoint); }
    void ClientToScreen(LPRECT pRect) const;
    void ScreenToClient(LPPOINT pPoint) const { ::ScreenToClient(m_hWnd, pPoint); }
    void ScreenToClient(LPRECT pRect) const;
    BOOL MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
        return ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }

    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, NULL, bErase); }
    void InvalidateRect(LPCRECT pRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, pRect, bErase); }
    void ValidateRect(LPCRECT pRect) { ::ValidateRect(m_hWnd, pRect); }
    BOOL RedrawWindow(LPCRECT pRectUpdate = NULL, HRGN hRgnUpdate = NULL,
                      UINT nFlags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
        return ::RedrawWindow(m_hWnd, pRectUpdate, hRgnUpdate, nFlags);
    }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }

    // The window's text as GBK; the window keeps it in UTF-16, as every window of the programs does.
    void SetWindowText(LPCSTR pszText);
    void GetWindowText(CString& strText) const;
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }

    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse) { return ::SetTimer(m_hWnd, nIDEvent, nElapse, NULL); }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

    // --- messages --------------------------------------------------------------------------
    // Passes the message being handled (on this thread) to the previous window procedure.
    LRESULT Default();
    // Map lookup, reflection, else DefWindowProc.
    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // TRUE when the map (or a child, for reflected messages) handled the message.
    virtual BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The window procedure replaced by subclassing, or ::DefWindowProcA.
    virtual LRESULT DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // A parent offers a reflected message (WM_CTLCOLOR*, WM_DRAWITEM) to its child's object;
    // TRUE when the child answered it, with the answer in *pResult.
    virtual BOOL OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // For a message loop: TRUE when the message was handled and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    HWND m_hWnd;

protected:
    // Runs once the object is attached and before its window procedure is replaced.
    virtual void PreSubclassWindow();
    // Runs after the window is gone and the object detached; an object on the heap that
    // owns itself may delete itself here.
    virtual void PostNcDestroy();

    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    // The standard handling of each mapped message, for overrides that want it too.
    afx_msg int OnCreate(LPCREATESTRUCTW pCreate);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg HCURSOR OnQueryDragIcon();
    // Offers the query to the control's own object (reflection), else the standard handling.
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    // Asks the object attached to hWndChild to handle the message as reflected.
    BOOL ReflectChildNotify(HWND hWndChild, UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Looks up nMsg in the maps from this class to CWnd and calls the first handler found.
    BOOL DispatchToMap(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    WNDPROC m_pfnSuper;  // window procedure before subclassing; null means DefWindowProcA

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend void AfxAttachCreatingWindow(CWnd* pWnd, HWND hWnd);
    // After WM_NCDESTROY: restores the old procedure, detaches, then PostNcDestroy.
    void FinishNcDestroy();
    // Replaces the window procedure with AfxWndProc, keeping the old one.
    void HookWndProc();
};

// The window procedure of every attached window.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

#include "framework/MsgMapThunks.h"
