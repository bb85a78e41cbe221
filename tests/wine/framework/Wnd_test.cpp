// The window layer: message maps, subclassing, Default(), reflection and the object's life.
#include "framework/Wnd.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Button.h"
#include "framework/Static.h"
#include "framework/WndClass.h"
#include "support/WindowTestSupport.h"

namespace {

const UINT UM_PING = WM_USER + 1;
const UINT UM_INNER = WM_USER + 2;
const UINT UM_BASEONLY = WM_USER + 3;

// What the window procedure under a subclassed window saw.
struct SeenMessage {
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<SeenMessage> g_seen;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg >= WM_USER) {
        g_seen.push_back({nMsg, wParam, lParam});
        return 1000 + static_cast<LRESULT>(wParam);
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

HWND MakeRecordingWindow() {
    static const char* s_pszClass = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "PmRecordingWindow";
        RegisterClassA(&wc);
        return "PmRecordingWindow";
    }();
    return CreateWindowExA(0, s_pszClass, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL),
                           NULL);
}

class CBaseHandler : public CWnd {
public:
    int m_nBaseCalls = 0;
    bool m_bProcWasOursInPreSubclass = true;
    CWnd* m_pMappedInPreSubclass = NULL;

protected:
    void PreSubclassWindow() override {
        m_pMappedInPreSubclass = FromHandlePermanent(m_hWnd);
        m_bProcWasOursInPreSubclass =
            reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc;
    }
    afx_msg LRESULT OnBaseOnly(WPARAM, LPARAM) {
        ++m_nBaseCalls;
        return 7;
    }
    afx_msg LRESULT OnPing(WPARAM, LPARAM) { return -1; }  // hidden by the derived map
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseHandler, CWnd)
    ON_MESSAGE(UM_BASEONLY, OnBaseOnly)
    ON_MESSAGE(UM_PING, OnPing)
END_MESSAGE_MAP()

class CDerivedHandler : public CBaseHandler {
public:
    int m_nCreates = 0;
    int m_nPostNcDestroy = 0;
    bool m_bWasMappedAtDestroy = false;

protected:
    // Sends another message first: Default() must still pass on this one.
    afx_msg LRESULT OnPing(WPARAM, LPARAM) {
        SendMessage(UM_INNER, 5, 6);
        return Default() + 1;
    }
    afx_msg int OnCreate(LPCREATESTRUCTA pCreate) {
        ++m_nCreates;
        return CWnd::OnCreate(pCreate);
    }
    afx_msg void OnDestroy() {
        m_bWasMappedAtDestroy = FromHandlePermanent(m_hWnd) == this;
        CWnd::OnDestroy();
    }
    void PostNcDestroy() override { ++m_nPostNcDestroy; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedHandler, CBaseHandler)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(UM_PING, OnPing)
END_MESSAGE_MAP()

TEST(WndSubclass, MapsDispatchAndDefaultReachesThePreviousProcedure) {
    HWND hWnd = MakeRecordingWindow();
    ASSERT_NE(HWND(NULL), hWnd);
    CDerivedHandler wnd;
    g_seen.clear();
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    EXPECT_EQ(&wnd, wnd.m_pMappedInPreSubclass) << "attached before PreSubclassWindow";
    EXPECT_FALSE(wnd.m_bProcWasOursInPreSubclass) << "procedure replaced after PreSubclassWindow";
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(hWnd));

    EXPECT_EQ(1000 + 3 + 1, wnd.SendMessage(UM_PING, 3, 4)) << "the derived entry wins";
    ASSERT_EQ(2u, g_seen.size());
    EXPECT_EQ(UM_INNER, g_seen[0].nMsg);
    EXPECT_EQ(UM_PING, g_seen[1].nMsg) << "Default passes the message being handled";
    EXPECT_EQ(3u, g_seen[1].wParam);
    EXPECT_EQ(4, g_seen[1].lParam);

    EXPECT_EQ(7, wnd.SendMessage(UM_BASEONLY)) << "the base class's map is searched next";
    EXPECT_EQ(1, wnd.m_nBaseCalls);
    EXPECT_EQ(1000 + 9, wnd.SendMessage(WM_USER + 50, 9)) << "unmapped: the old procedure";

    CWnd other;
    EXPECT_FALSE(other.SubclassWindow(hWnd)) << "a window has one object";
    EXPECT_EQ(hWnd, wnd.UnsubclassWindow());
    EXPECT_EQ(&RecordingProc, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC)));
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(HWND(NULL), wnd.m_hWnd);
    DestroyWindow(hWnd);
}

TEST(WndSubclass, CreateExAttachesBeforeTheFirstMessagesAndDetachesAtTheEnd) {
    CDerivedHandler wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 20, 20, NULL, NULL));
    EXPECT_EQ(1, wnd.m_nCreates) << "WM_CREATE went through the map";
    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_TRUE(wnd.m_bWasMappedAtDestroy);
    EXPECT_EQ(1, wnd.m_nPostNcDestroy);
    EXPECT_EQ(HWND(NULL), wnd.m_hWnd);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hWnd));
}

// A window that creates its child in OnCreate, while its own creation is still under way.
class CNestingParent : public CWnd {
public:
    CStatic m_child;
    BOOL m_bChildMade = FALSE;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA pCreate) {
        m_bChildMade = m_child.Create("child", WS_CHILD, CRect(0, 0, 10, 10), this, 5);
        return CWnd::OnCreate(pCreate);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNestingParent, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(WndSubclass, CreationsNestAndEachObjectGetsItsOwnWindow) {
    CNestingParent parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    EXPECT_TRUE(parent.m_bChildMade);
    EXPECT_EQ(parent.m_hWnd, GetParent(parent.m_child.m_hWnd));
    EXPECT_EQ(&parent.m_child, CWnd::FromHandlePermanent(parent.m_child.m_hWnd));
    CDerivedHandler later;  // the hook is gone: a later creation works as the first did
    ASSERT_TRUE(later.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 20, 20, NULL, NULL));
    EXPECT_EQ(1, later.m_nCreates);
}

TEST(WndSubclass, DestroyingTheObjectDestroysItsWindowButNotALentHandle) {
    HWND hWnd = NULL;
    {
        CDerivedHandler wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 20, 20, NULL, NULL));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(hWnd));

    HWND hLent = MakeRecordingWindow();
    {
        CWnd wnd;
        wnd.m_hWnd = hLent;  // as worker threads use a CWnd: the handle only
    }
    EXPECT_TRUE(IsWindow(hLent));
    DestroyWindow(hLent);
}

DWORD WINAPI UnsubclassOnThisThread(LPVOID pWnd) {
    static_cast<CWnd*>(pWnd)->UnsubclassWindow();
    return 0;
}

// Each thread remembers the objects of its windows; a detach on any thread must still be seen.
TEST(WndLookup, AnObjectDetachedOnAnotherThreadIsNotFoundAnyMore) {
    HWND hWnd = MakeRecordingWindow();
    ASSERT_NE(HWND(NULL), hWnd);
    CBaseHandler first;
    ASSERT_TRUE(first.SubclassWindow(hWnd));
    ASSERT_EQ(&first, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(7, SendMessageA(hWnd, UM_BASEONLY, 0, 0));

    HANDLE hThread = CreateThread(NULL, 0, UnsubclassOnThisThread, &first, 0, NULL);
    ASSERT_NE(HANDLE(NULL), hThread);
    WaitForSingleObject(hThread, INFINITE);
    CloseHandle(hThread);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hWnd));

    CBaseHandler second;
    ASSERT_TRUE(second.SubclassWindow(hWnd)) << "the window takes a new object";
    EXPECT_EQ(&second, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(7, SendMessageA(hWnd, UM_BASEONLY, 0, 0));
    EXPECT_EQ(1, first.m_nBaseCalls);
    EXPECT_EQ(1, second.m_nBaseCalls) << "the message reached the new object";
    second.UnsubclassWindow();
    DestroyWindow(hWnd);
}

TEST(WndLookup, MoreWindowsThanAThreadRemembersEachFindTheirOwn) {
    const int kWindows = 20;
    CBaseHandler handlers[kWindows];
    for (CBaseHandler& handler : handlers) ASSERT_TRUE(handler.SubclassWindow(MakeRecordingWindow()));
    for (int nPass = 0; nPass < 3; ++nPass) {
        for (int i = 0; i < kWindows; ++i) {
            // Backwards in the second pass, so that the remembered ones are not simply the last.
            CBaseHandler& handler = handlers[nPass == 1 ? kWindows - 1 - i : i];
            ASSERT_EQ(&handler, CWnd::FromHandlePermanent(handler.m_hWnd)) << "pass " << nPass << ", " << i;
            SendMessageA(handler.m_hWnd, UM_BASEONLY, 0, 0);
        }
    }
    for (CBaseHandler& handler : handlers) {
        EXPECT_EQ(3, handler.m_nBaseCalls);
        HWND hWnd = handler.UnsubclassWindow();
        DestroyWindow(hWnd);
    }
}

// A static answering its own colour query, and an owner-drawn button counting its drawings.
class CReflectingStatic : public CStatic {
public:
    HBRUSH m_hbrAnswer = NULL;
    UINT m_nLastType = 99;

protected:
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        m_nLastType = nCtlColor;
        return m_hbrAnswer;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CCountingButton : public CButton {
public:
    int m_nDraws = 0;
    UINT m_nLastAction = 0;
    void DrawItem(LPDRAWITEMSTRUCT pDraw) override {
        ++m_nDraws;
        m_nLastAction = pDraw->itemAction;
    }
};

TEST(WndReflection, ColourQueryAndDrawingReachTheChild) {
    CTestParent parent;
    CReflectingStatic label;
    ASSERT_TRUE(label.Create("text", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 100));
    HDC hdc = GetDC(label.m_hWnd);
    HBRUSH hbrOwn = CreateSolidBrush(RGB(1, 2, 3));
    label.m_hbrAnswer = hbrOwn;
    EXPECT_EQ(reinterpret_cast<LRESULT>(hbrOwn),
              parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                 reinterpret_cast<LPARAM>(label.m_hWnd)));
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), label.m_nLastType);
    EXPECT_EQ(reinterpret_cast<LRESULT>(hbrOwn),
              parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc),
                                 reinterpret_cast<LPARAM>(label.m_hWnd)));
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_EDIT), label.m_nLastType);

    label.m_hbrAnswer = NULL;  // unanswered: the parent's standard answer
    LRESULT lDefault = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                          reinterpret_cast<LPARAM>(label.m_hWnd));
    EXPECT_NE(0, lDefault);
    EXPECT_NE(reinterpret_cast<LRESULT>(hbrOwn), lDefault);
    ReleaseDC(label.m_hWnd, hdc);
    DeleteObject(hbrOwn);

    CCountingButton button;
    ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 30, 60, 55), &parent, 101));
    Settle(parent.m_hWnd);
    EXPECT_GE(button.m_nDraws, 1) << "the parent's WM_DRAWITEM became DrawItem";
    int nDraws = button.m_nDraws;
    button.Invalidate();
    Settle(parent.m_hWnd);
    EXPECT_EQ(nDraws + 1, button.m_nDraws);
    EXPECT_EQ(static_cast<UINT>(ODA_DRAWENTIRE), button.m_nLastAction);
}

INT_PTR CALLBACK PassiveDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The parent can be a dialog from a template: subclassing it is all it takes.
TEST(WndReflection, ADialogFromATemplateReflectsToo) {
    // A DLGTEMPLATE with one static control (id 1010), built in memory, WORD-aligned.
    alignas(4) WORD awTemplate[64] = {};
    DLGTEMPLATE* pDlg = reinterpret_cast<DLGTEMPLATE*>(awTemplate);
    pDlg->style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    pDlg->cdit = 1;
    pDlg->cx = 120;
    pDlg->cy = 60;
    WORD* pw = reinterpret_cast<WORD*>(pDlg + 1);
    *pw++ = 0;  // no menu
    *pw++ = 0;  // standard class
    *pw++ = 0;  // no title
    *pw++ = 9;  // font size, then the face name
    for (const char* p = "MS Shell Dlg";; ++p) {
        *pw++ = static_cast<WORD>(*p);
        if (!*p) break;
    }
    pw = reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(pw) + 3) & ~ULONG_PTR(3));
    DLGITEMTEMPLATE* pItem = reinterpret_cast<DLGITEMTEMPLATE*>(pw);
    pItem->style = WS_CHILD | WS_VISIBLE;
    pItem->x = 5;
    pItem->y = 5;
    pItem->cx = 80;
    pItem->cy = 12;
    pItem->id = 1010;
    pw = reinterpret_cast<WORD*>(pItem + 1);
    *pw++ = 0xFFFF;
    *pw++ = 0x0082;  // static
    for (const char* p = "hint";; ++p) {
        *pw++ = static_cast<WORD>(*p);
        if (!*p) break;
    }
    *pw++ = 0;  // no creation data

    HWND hDlg = CreateDialogIndirectParamA(GetModuleHandleA(NULL), pDlg, NULL, PassiveDlgProc, 0);
    ASSERT_NE(HWND(NULL), hDlg);
    CWnd dialog;
    ASSERT_TRUE(dialog.SubclassWindow(hDlg));
    CReflectingStatic hint;
    ASSERT_TRUE(hint.SubclassDlgItem(1010, &dialog));
    HBRUSH hbrOwn = CreateSolidBrush(RGB(4, 5, 6));
    hint.m_hbrAnswer = hbrOwn;
    HDC hdc = GetDC(hint.m_hWnd);
    EXPECT_EQ(reinterpret_cast<LRESULT>(hbrOwn),
              dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                 reinterpret_cast<LPARAM>(hint.m_hWnd)));
    ReleaseDC(hint.m_hWnd, hdc);
    dialog.DestroyWindow();
    EXPECT_EQ(HWND(NULL), hint.m_hWnd) << "the control's object was detached with its window";
    DeleteObject(hbrOwn);
}

}  // namespace
