// Message maps: a static table per window class that names the handler of each message.
//
//   class CMyCtrl : public CWnd {
//   protected:
//       afx_msg void OnPaint();
//       afx_msg LRESULT OnDone(WPARAM wParam, LPARAM lParam);
//       DECLARE_MESSAGE_MAP()
//   };
//
//   BEGIN_MESSAGE_MAP(CMyCtrl, CWnd)
//       ON_WM_PAINT()
//       ON_MESSAGE(UM_DONE, OnDone)
//   END_MESSAGE_MAP()
//
// CWnd::WindowProc looks a message up in the object's own map first, then in each base class's
// map; the first entry found handles it, and what is found nowhere goes to Default() (the
// window procedure that was there before subclassing, or DefWindowProc). A handler that wants
// the standard behaviour as well calls Default() (or the CWnd::OnXxx base, which does the same).
//
// Entries and handler signatures (the handler names are fixed, as in the entry's comment):
//   ON_WM_CREATE()         int OnCreate(LPCREATESTRUCTW)      -1 ends the creation
//   ON_WM_DESTROY()        void OnDestroy()
//   ON_WM_CLOSE()          void OnClose()
//   ON_WM_PAINT()          void OnPaint()
//   ON_WM_ERASEBKGND()     BOOL OnEraseBkgnd(CDC*)
//   ON_WM_SIZE()           void OnSize(UINT nType, int cx, int cy)
//   ON_WM_SETTEXT()        LRESULT OnSetText(WPARAM, LPARAM)  lParam: the new text
//   ON_WM_GETTEXT()        LRESULT OnGetText(WPARAM, LPARAM)  wParam: size, lParam: buffer
//   ON_WM_LBUTTONDOWN()    void OnLButtonDown(UINT nFlags, CPoint)
//   ON_WM_LBUTTONUP()      void OnLButtonUp(UINT nFlags, CPoint)
//   ON_WM_LBUTTONDBLCLK()  void OnLButtonDblClk(UINT nFlags, CPoint)
//   ON_WM_MOUSEMOVE()      void OnMouseMove(UINT nFlags, CPoint)
//   ON_WM_MOUSELEAVE()     void OnMouseLeave()
//   ON_WM_KILLFOCUS()      void OnKillFocus(CWnd* pNewWnd)
//   ON_WM_KEYDOWN()        void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
//   ON_WM_TIMER()          void OnTimer(UINT_PTR nIDEvent)
//   ON_WM_SYSCOMMAND()     void OnSysCommand(UINT nID, LPARAM)
//   ON_WM_QUERYDRAGICON()  HCURSOR OnQueryDragIcon()
//   ON_WM_CTLCOLOR()       HBRUSH OnCtlColor(CDC*, CWnd* pWnd, UINT nCtlColor)   the parent's own
//   ON_WM_CTLCOLOR_REFLECT()  HBRUSH CtlColor(CDC*, UINT nCtlColor)   the control's, reflected
//   ON_MESSAGE(nMsg, Handler)   LRESULT Handler(WPARAM, LPARAM)   any message, also
//                          UM_ messages and BM_SETCHECK / BM_GETCHECK
//
// A CWnd* passed to a handler (pWnd of OnCtlColor, pNewWnd of OnKillFocus) is the window's
// attached object, or a temporary one valid during the call, or null for no window.
//
// Reflection: WM_CTLCOLOR* and WM_DRAWITEM that a parent has no entry for are offered to the
// attached object of the child they concern (CWnd::OnChildNotify). A control answers its own
// colour query with ON_WM_CTLCOLOR_REFLECT (a null brush counts as unanswered), and owner-drawn
// buttons get WM_DRAWITEM as the virtual CButton::DrawItem. So any parent built on CWnd (a
// dialog too) hands these to its controls without code of its own.
#pragma once
#include <windows.h>

#ifndef afx_msg
#define afx_msg
#endif

class CWnd;

// Signature of the adapters the entry macros generate: unpack wParam/lParam, call the handler.
typedef LRESULT (*AFX_PMSGTHUNK)(CWnd* pWnd, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    AFX_PMSGTHUNK pfnThunk;  // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Map keys that are no real messages: the reflected form of a message is WM_REFLECT_BASE plus
// the message; all seven WM_CTLCOLOR* messages are keyed as WM_CTLCOLOR (the 16-bit message).
#define WM_REFLECT_BASE 0xBC00
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// What the colour-query entries receive in lParam.
struct AFX_CTLCOLOR {
    HWND hWnd;  // the control
    HDC hDC;
    UINT nCtlType;  // CTLCOLOR_MSGBOX .. CTLCOLOR_STATIC
};

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { \
        return GetThisMessageMap();                     \
    }                                                   \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
        typedef theClass ThisClass;                     \
        typedef baseClass TheBaseClass;                 \
        static const AFX_MSGMAP_ENTRY s_entries[] = {
// clang-format 14 and 19 lay out this brace fragment differently: kept as it is.
// clang-format off
#define END_MESSAGE_MAP()                                                              \
    { 0, NULL }                                                                        \
    }                                                                                  \
    ;                                                                                  \
    static const AFX_MSGMAP s_map = {&TheBaseClass::GetThisMessageMap, &s_entries[0]}; \
    return &s_map;                                                                     \
    }
// clang-format on

#define AFX_ENTRY(nMsg, thunk, member) {(nMsg), &thunk<ThisClass, &ThisClass::member>},

#define ON_WM_CREATE() AFX_ENTRY(WM_CREATE, AfxThunkCreate, OnCreate)
#define ON_WM_DESTROY() AFX_ENTRY(WM_DESTROY, AfxThunkVoid, OnDestroy)
#define ON_WM_CLOSE() AFX_ENTRY(WM_CLOSE, AfxThunkVoid, OnClose)
#define ON_WM_PAINT() AFX_ENTRY(WM_PAINT, AfxThunkVoid, OnPaint)
#define ON_WM_ERASEBKGND() AFX_ENTRY(WM_ERASEBKGND, AfxThunkEraseBkgnd, OnEraseBkgnd)
#define ON_WM_SIZE() AFX_ENTRY(WM_SIZE, AfxThunkSize, OnSize)
#define ON_WM_SETTEXT() AFX_ENTRY(WM_SETTEXT, AfxThunkMessage, OnSetText)
#define ON_WM_GETTEXT() AFX_ENTRY(WM_GETTEXT, AfxThunkMessage, OnGetText)
#define ON_WM_LBUTTONDOWN() AFX_ENTRY(WM_LBUTTONDOWN, AfxThunkMouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_ENTRY(WM_LBUTTONUP, AfxThunkMouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_ENTRY(WM_LBUTTONDBLCLK, AfxThunkMouse, OnLButtonDblClk)
#define ON_WM_MOUSEMOVE() AFX_ENTRY(WM_MOUSEMOVE, AfxThunkMouse, OnMouseMove)
#define ON_WM_MOUSELEAVE() AFX_ENTRY(WM_MOUSELEAVE, AfxThunkVoid, OnMouseLeave)
#define ON_WM_KILLFOCUS() AFX_ENTRY(WM_KILLFOCUS, AfxThunkFocus, OnKillFocus)
#define ON_WM_KEYDOWN() AFX_ENTRY(WM_KEYDOWN, AfxThunkKey, OnKeyDown)
#define ON_WM_TIMER() AFX_ENTRY(WM_TIMER, AfxThunkTimer, OnTimer)
#define ON_WM_SYSCOMMAND() AFX_ENTRY(WM_SYSCOMMAND, AfxThunkSysCommand, OnSysCommand)
#define ON_WM_QUERYDRAGICON() AFX_ENTRY(WM_QUERYDRAGICON, AfxThunkQueryDragIcon, OnQueryDragIcon)
#define ON_WM_CTLCOLOR() AFX_ENTRY(WM_CTLCOLOR, AfxThunkCtlColor, OnCtlColor)
#define ON_WM_CTLCOLOR_REFLECT() AFX_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, AfxThunkCtlColorReflect, CtlColor)
#define ON_MESSAGE(nMsg, memberFxn) AFX_ENTRY(nMsg, AfxThunkMessage, memberFxn)
