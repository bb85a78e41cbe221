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

const UINT kPing = WM_USER + 1;
const UINT kInner = WM_USER + 2;
const UINT kBaseOnly = WM_USER + 3;

// What the window procedure under a subclassed window saw.
struct SeenMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<SeenMessage> g_seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) {
        g_seen.push_back({message, wParam, lParam});
        return 1000 + static_cast<LRESULT>(wParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeRecordingWindow() {
    static const char* s_className = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "PmRecordingWindow";
        RegisterClassA(&wc);
        return "PmRecordingWindow";
    }();
    return CreateWindowExA(0, s_className, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL),
                           NULL);
}

class BaseHandler : public CWnd {
public:
    int baseCalls = 0;
    bool procWasOursInPreSubclass = true;
    CWnd* mappedInPreSubclass = NULL;

protected:
    void PreSubclassWindow() override {
        mappedInPreSubclass = FromHandlePermanent(m_hWnd);
        procWasOursInPreSubclass =
            reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc;
    }
    afx_msg LRESULT OnBaseOnly(WPARAM, LPARAM) {
        ++baseCalls;
        return 7;
    }
    afx_msg LRESULT OnPing(WPARAM, LPARAM) { return -1; }  // hidden by the derived map
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseHandler, CWnd)
    ON_MESSAGE(kBaseOnly, OnBaseOnly)
    ON_MESSAGE(kPing, OnPing)
END_MESSAGE_MAP()

class DerivedHandler : public BaseHandler {
public:
    int creates = 0;
    int postNcDestroys = 0;
    bool wasMappedAtDestroy = false;

protected:
    // Sends another message first: Default() must still pass on this one.
    afx_msg LRESULT OnPing(WPARAM, LPARAM) {
        SendMessage(kInner, 5, 6);
        return Default() + 1;
    }
    afx_msg int OnCreate(LPCREATESTRUCTW create) {
        ++creates;
        return CWnd::OnCreate(create);
    }
    afx_msg void OnDestroy() {
        wasMappedAtDestroy = FromHandlePermanent(m_hWnd) == this;
        CWnd::OnDestroy();
    }
    void PostNcDestroy() override { ++postNcDestroys; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedHandler, BaseHandler)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(kPing, OnPing)
END_MESSAGE_MAP()

TEST(WndSubclass, MapsDispatchAndDefaultReachesThePreviousProcedure) {
    HWND window = MakeRecordingWindow();
    ASSERT_NE(nullptr, window);
    DerivedHandler wnd;
    g_seen.clear();
    ASSERT_TRUE(wnd.SubclassWindow(window));
    EXPECT_EQ(&wnd, wnd.mappedInPreSubclass) << "attached before PreSubclassWindow";
    EXPECT_FALSE(wnd.procWasOursInPreSubclass) << "procedure replaced after PreSubclassWindow";
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(window));

    EXPECT_EQ(1000 + 3 + 1, wnd.SendMessage(kPing, 3, 4)) << "the derived entry wins";
    ASSERT_EQ(2u, g_seen.size());
    EXPECT_EQ(kInner, g_seen[0].message);
    EXPECT_EQ(kPing, g_seen[1].message) << "Default passes the message being handled";
    EXPECT_EQ(3u, g_seen[1].wParam);
    EXPECT_EQ(4, g_seen[1].lParam);

    EXPECT_EQ(7, wnd.SendMessage(kBaseOnly)) << "the base class's map is searched next";
    EXPECT_EQ(1, wnd.baseCalls);
    EXPECT_EQ(1000 + 9, wnd.SendMessage(WM_USER + 50, 9)) << "unmapped: the old procedure";

    CWnd other;
    EXPECT_FALSE(other.SubclassWindow(window)) << "a window has one object";
    EXPECT_EQ(window, wnd.UnsubclassWindow());
    EXPECT_EQ(&RecordingProc, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)));
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(window));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    DestroyWindow(window);
}

TEST(WndSubclass, CreateExAttachesBeforeTheFirstMessagesAndDetachesAtTheEnd) {
    DerivedHandler wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 20, 20, NULL, NULL));
    EXPECT_EQ(1, wnd.creates) << "WM_CREATE went through the map";
    HWND window = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_TRUE(wnd.wasMappedAtDestroy);
    EXPECT_EQ(1, wnd.postNcDestroys);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(window));
}

// A window that creates its child in OnCreate, while its own creation is still under way.
class NestingParent : public CWnd {
public:
    CStatic child;
    BOOL childMade = FALSE;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTW create) {
        childMade = child.Create("child", WS_CHILD, CRect(0, 0, 10, 10), this, 5);
        return CWnd::OnCreate(create);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(NestingParent, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(WndSubclass, CreationsNestAndEachObjectGetsItsOwnWindow) {
    NestingParent parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "p", WS_POPUP, 0, 0, 50, 50, NULL, NULL));
    EXPECT_TRUE(parent.childMade);
    EXPECT_EQ(parent.m_hWnd, GetParent(parent.child.m_hWnd));
    EXPECT_EQ(&parent.child, CWnd::FromHandlePermanent(parent.child.m_hWnd));
    DerivedHandler later;  // the hook is gone: a later creation works as the first did
    ASSERT_TRUE(later.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 20, 20, NULL, NULL));
    EXPECT_EQ(1, later.creates);
}

TEST(WndSubclass, DestroyingTheObjectDestroysItsWindowButNotALentHandle) {
    HWND window = NULL;
    {
        DerivedHandler wnd;
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "x", WS_POPUP, 0, 0, 20, 20, NULL, NULL));
        window = wnd.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(window));

    HWND lent = MakeRecordingWindow();
    {
        CWnd wnd;
        wnd.m_hWnd = lent;  // as worker threads use a CWnd: the handle only
    }
    EXPECT_TRUE(IsWindow(lent));
    DestroyWindow(lent);
}

DWORD WINAPI UnsubclassOnThisThread(LPVOID object) {
    static_cast<CWnd*>(object)->UnsubclassWindow();
    return 0;
}

// Each thread remembers the objects of its windows; a detach on any thread must still be seen.
TEST(WndLookup, AnObjectDetachedOnAnotherThreadIsNotFoundAnyMore) {
    HWND window = MakeRecordingWindow();
    ASSERT_NE(nullptr, window);
    BaseHandler first;
    ASSERT_TRUE(first.SubclassWindow(window));
    ASSERT_EQ(&first, CWnd::FromHandlePermanent(window));
    EXPECT_EQ(7, SendMessageA(window, kBaseOnly, 0, 0));

    HANDLE hThread = CreateThread(NULL, 0, UnsubclassOnThisThread, &first, 0, NULL);
    ASSERT_NE(nullptr, hThread);
    WaitForSingleObject(hThread, INFINITE);
    CloseHandle(hThread);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(window));

    BaseHandler second;
    ASSERT_TRUE(second.SubclassWindow(window)) << "the window takes a new object";
    EXPECT_EQ(&second, CWnd::FromHandlePermanent(window));
    EXPECT_EQ(7, SendMessageA(window, kBaseOnly, 0, 0));
    EXPECT_EQ(1, first.baseCalls);
    EXPECT_EQ(1, second.baseCalls) << "the message reached the new object";
    second.UnsubclassWindow();
    DestroyWindow(window);
}

TEST(WndLookup, MoreWindowsThanAThreadRemembersEachFindTheirOwn) {
    const int kWindows = 20;
    BaseHandler handlers[kWindows];
    for (BaseHandler& handler : handlers) ASSERT_TRUE(handler.SubclassWindow(MakeRecordingWindow()));
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i < kWindows; ++i) {
            // Backwards in the second pass, so that the remembered ones are not simply the last.
            BaseHandler& handler = handlers[pass == 1 ? kWindows - 1 - i : i];
            ASSERT_EQ(&handler, CWnd::FromHandlePermanent(handler.m_hWnd)) << "pass " << pass << ", " << i;
            SendMessageA(handler.m_hWnd, kBaseOnly, 0, 0);
        }
    }
    for (BaseHandler& handler : handlers) {
        EXPECT_EQ(3, handler.baseCalls);
        HWND window = handler.UnsubclassWindow();
        DestroyWindow(window);
    }
}

// A static answering its own colour query, and an owner-drawn button counting its drawings.
class ReflectingStatic : public CStatic {
public:
    HBRUSH answer = NULL;
    UINT lastType = 99;

protected:
    afx_msg HBRUSH CtlColor(CDC*, UINT ctlColor) {
        lastType = ctlColor;
        return answer;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CountingButton : public CButton {
public:
    int draws = 0;
    UINT lastAction = 0;
    void DrawItem(LPDRAWITEMSTRUCT draw) override {
        ++draws;
        lastAction = draw->itemAction;
    }
};

TEST(WndReflection, ColourQueryAndDrawingReachTheChild) {
    TestParent parent;
    ReflectingStatic label;
    ASSERT_TRUE(label.Create("text", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 100));
    HDC hdc = GetDC(label.m_hWnd);
    HBRUSH ownBrush = CreateSolidBrush(RGB(1, 2, 3));
    label.answer = ownBrush;
    EXPECT_EQ(reinterpret_cast<LRESULT>(ownBrush),
              parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                 reinterpret_cast<LPARAM>(label.m_hWnd)));
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), label.lastType);
    EXPECT_EQ(reinterpret_cast<LRESULT>(ownBrush),
              parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc),
                                 reinterpret_cast<LPARAM>(label.m_hWnd)));
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_EDIT), label.lastType);

    label.answer = NULL;  // unanswered: the parent's standard answer
    LRESULT standardBrush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                               reinterpret_cast<LPARAM>(label.m_hWnd));
    EXPECT_NE(0, standardBrush);
    EXPECT_NE(reinterpret_cast<LRESULT>(ownBrush), standardBrush);
    ReleaseDC(label.m_hWnd, hdc);
    DeleteObject(ownBrush);

    CountingButton button;
    ASSERT_TRUE(button.Create("b", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 30, 60, 55), &parent, 101));
    Settle(parent.m_hWnd);
    EXPECT_GE(button.draws, 1) << "the parent's WM_DRAWITEM became DrawItem";
    int drawsBefore = button.draws;
    button.Invalidate();
    Settle(parent.m_hWnd);
    EXPECT_EQ(drawsBefore + 1, button.draws);
    EXPECT_EQ(static_cast<UINT>(ODA_DRAWENTIRE), button.lastAction);
}

INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The parent can be a dialog from a template: subclassing it is all it takes.
TEST(WndReflection, ADialogFromATemplateReflectsToo) {
    // A DLGTEMPLATE with one static control, built in memory, WORD-aligned.
    const WORD kHintId = 1010;
    alignas(4) WORD templateWords[64] = {};
    DLGTEMPLATE* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(templateWords);
    dialogTemplate->style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    dialogTemplate->cdit = 1;
    dialogTemplate->cx = 120;
    dialogTemplate->cy = 60;
    WORD* word = reinterpret_cast<WORD*>(dialogTemplate + 1);
    *word++ = 0;  // no menu
    *word++ = 0;  // standard class
    *word++ = 0;  // no title
    *word++ = 9;  // font size, then the face name
    for (const char* p = "MS Shell Dlg";; ++p) {
        *word++ = static_cast<WORD>(*p);
        if (!*p) break;
    }
    word = reinterpret_cast<WORD*>((reinterpret_cast<ULONG_PTR>(word) + 3) & ~static_cast<ULONG_PTR>(3));
    DLGITEMTEMPLATE* item = reinterpret_cast<DLGITEMTEMPLATE*>(word);
    item->style = WS_CHILD | WS_VISIBLE;
    item->x = 5;
    item->y = 5;
    item->cx = 80;
    item->cy = 12;
    item->id = kHintId;
    word = reinterpret_cast<WORD*>(item + 1);
    *word++ = 0xFFFF;
    *word++ = 0x0082;  // static
    for (const char* p = "hint";; ++p) {
        *word++ = static_cast<WORD>(*p);
        if (!*p) break;
    }
    *word++ = 0;  // no creation data

    HWND dialogWindow =
        CreateDialogIndirectParamA(GetModuleHandleA(NULL), dialogTemplate, NULL, PassiveDialogProc, 0);
    ASSERT_NE(nullptr, dialogWindow);
    CWnd dialog;
    ASSERT_TRUE(dialog.SubclassWindow(dialogWindow));
    ReflectingStatic hint;
    ASSERT_TRUE(hint.SubclassDlgItem(kHintId, &dialog));
    HBRUSH ownBrush = CreateSolidBrush(RGB(4, 5, 6));
    hint.answer = ownBrush;
    HDC hdc = GetDC(hint.m_hWnd);
    EXPECT_EQ(reinterpret_cast<LRESULT>(ownBrush),
              dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                 reinterpret_cast<LPARAM>(hint.m_hWnd)));
    ReleaseDC(hint.m_hWnd, hdc);
    dialog.DestroyWindow();
    EXPECT_EQ(nullptr, hint.m_hWnd) << "the control's object was detached with its window";
    DeleteObject(ownBrush);
}

}  // namespace
