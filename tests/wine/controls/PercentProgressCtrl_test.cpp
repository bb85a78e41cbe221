#include "controls/PercentProgressCtrl.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <wchar.h>

#include <memory>

#include "framework/CommonControls.h"
#include "framework/NarrowString.h"
#include "support/WindowTestSupport.h"
#include "tests/native/StringBytes.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// Counts the paints that reach the control.
class CountingBar : public CPercentProgressCtrl {
public:
    int paints = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) ++paints;
        return CPercentProgressCtrl::WindowProc(message, wParam, lParam);
    }
};

class PercentBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxInitCommonControls(ICC_PROGRESS_CLASS);
        highlight = GetSysColor(COLOR_HIGHLIGHT);
        windowColor = GetSysColor(COLOR_WINDOW);
    }

    // A template-like progress control (with its own text), subclassed as a dialog would.
    HWND MakeNative(int width, int height = 20, int y = 10, const char* text = "Progress2") {
        return CreateWindowExA(0, PROGRESS_CLASSA, text, WS_CHILD | WS_VISIBLE, 10, y, width, height,
                               parent.m_hWnd, NULL, GetModuleHandleA(NULL), NULL);
    }
    void Attach(CPercentProgressCtrl& bar, int width, int height = 20, int y = 10) {
        ASSERT_TRUE(bar.SubclassWindow(MakeNative(width, height, y)));
    }
    // Paints the whole control now and reads it back.
    PixelGrab Render(CPercentProgressCtrl& bar) {
        bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        Settle(bar.m_hWnd);
        return PixelGrab(bar.m_hWnd);
    }
    BOOL HasPendingPaint(HWND window) { return GetUpdateRect(window, NULL, FALSE); }

    TestParent parent{500, 200};
    COLORREF highlight = 0;
    COLORREF windowColor = 0;
};

TEST_F(PercentBarTest, NewControlShowsZeroPercentOnTheWindowColour) {
    CPercentProgressCtrl bar, reference;
    Attach(bar, 201);
    Attach(reference, 201, 20, 40);
    reference.SetWindowText("0%");
    PixelGrab grab = Render(bar);
    EXPECT_TRUE(grab.SameAs(Render(reference))) << "the text reads 0%";
    for (int y = 0; y < grab.Height(); ++y) {
        EXPECT_EQ(windowColor, grab.At(0, y)) << "no bar, row " << y;
        EXPECT_EQ(windowColor, grab.At(200, y)) << "row " << y;
    }
    CRect rc(0, 0, grab.Width(), grab.Height());
    EXPECT_GT(grab.Count(rc, highlight), 10) << "the text in the highlight colour";
}

TEST_F(PercentBarTest, TemplateTextIsNeverShownOrReported) {
    CPercentProgressCtrl bar;
    Attach(bar, 201);
    CString text("marker");
    bar.GetWindowText(text);
    EXPECT_EQ("", Bytes(text));
}

// 201 pixels at 50 %: the bar is 100 pixels wide and each letter is split at column 100: left
// of it the text is drawn as over a full bar, from it on as over an empty one.
TEST_F(PercentBarTest, TextColourChangesExactlyAtTheBarEdge) {
    CPercentProgressCtrl bar, overBar, overBack, bare;
    Attach(bar, 201);
    Attach(overBar, 201, 20, 40);
    Attach(overBack, 201, 20, 70);
    Attach(bare, 201, 20, 100);
    bar.SetPos(50);
    overBar.SetPos(100);
    overBar.SetWindowText("50%");
    overBack.SetWindowText("50%");
    bare.SetPos(50);
    bare.ShowCaption(FALSE);
    PixelGrab text = Render(bar);
    PixelGrab left = Render(overBar);
    PixelGrab right = Render(overBack);
    PixelGrab back = Render(bare);
    ASSERT_EQ(201, back.Width());
    for (int y = 0; y < back.Height(); ++y) {
        EXPECT_EQ(highlight, back.At(99, y)) << "row " << y;
        EXPECT_EQ(windowColor, back.At(100, y)) << "row " << y;
    }
    int textLeft = 0, textRight = 0;
    for (int y = 0; y < text.Height(); ++y) {
        for (int x = 0; x < text.Width(); ++x) {
            const PixelGrab& expected = x < 100 ? left : right;
            ASSERT_EQ(expected.At(x, y), text.At(x, y)) << "pixel " << x << "," << y;
            if (text.At(x, y) != back.At(x, y)) (x < 100 ? textLeft : textRight) += 1;
        }
    }
    EXPECT_GT(textLeft, 10) << "text left of the edge";
    EXPECT_GT(textRight, 10) << "text right of the edge";
}

TEST_F(PercentBarTest, PartialRepaintSplitsAtTheSameColumn) {
    CPercentProgressCtrl bar;
    Attach(bar, 201);
    bar.SetWindowText("MMMMMMMMMMMM");
    bar.SetPos(50);
    PixelGrab whole = Render(bar);
    {
        CClientDC dc(&bar);  // spoil the screen so a partial repaint has to restore it
        CRect rc(0, 0, 201, 20);
        dc.FillSolidRect(&rc, kMagenta);
    }
    CRect partRect(60, 0, 150, 20);
    bar.InvalidateRect(&partRect, TRUE);
    Settle(bar.m_hWnd);
    PixelGrab part(bar.m_hWnd);
    for (int y = 0; y < whole.Height(); ++y)
        for (int x = partRect.left; x < partRect.right; ++x)
            ASSERT_EQ(whole.At(x, y), part.At(x, y)) << "pixel " << x << "," << y;
    EXPECT_EQ(kMagenta, part.At(59, 5)) << "only the clip box is painted";
}

// The bar keeps its off-screen bitmap between paints: a wider window must get a wider one.
TEST_F(PercentBarTest, AWiderBarIsPaintedWhole) {
    CPercentProgressCtrl bar, reference;
    Attach(bar, 100);
    Attach(reference, 301, 20, 40);
    bar.SetPos(50);
    reference.SetPos(50);
    Render(bar);
    bar.MoveWindow(10, 10, 301, 20);
    PixelGrab grown = Render(bar);
    ASSERT_EQ(301, grown.Width());
    EXPECT_TRUE(grown.SameAs(Render(reference)));
}

TEST_F(PercentBarTest, PercentagesTruncate) {
    struct Row {
        int pos;
        const char* text;
    } rows[] = {{1, "33%"}, {2, "66%"}};
    for (const Row& row : rows) {
        CPercentProgressCtrl bar, reference;
        Attach(bar, 150);
        Attach(reference, 150, 20, 40);
        bar.SetRange(0, 3);
        reference.SetRange(0, 3);
        bar.SetPos(row.pos);
        reference.SetPos(row.pos);
        reference.SetWindowText(row.text);
        EXPECT_TRUE(Render(bar).SameAs(Render(reference))) << row.text;
        bar.DestroyWindow();
        reference.DestroyWindow();
    }
}

TEST_F(PercentBarTest, SteppingPastTheEndFillsTheBarAndReadsAbove100) {
    CPercentProgressCtrl bar, reference;
    Attach(bar, 150);
    Attach(reference, 150, 20, 40);
    bar.SetRange(0, 2);
    reference.SetRange(0, 2);
    EXPECT_EQ(0, bar.StepIt());
    EXPECT_EQ(1, bar.StepIt());
    EXPECT_EQ(2, bar.StepIt());
    reference.SetPos(3);
    reference.SetWindowText("150%");
    PixelGrab grab = Render(bar);
    EXPECT_TRUE(grab.SameAs(Render(reference)));
    EXPECT_EQ(highlight, grab.At(149, 0)) << "the bar reaches the right end";
    EXPECT_EQ(0, grab.Count(CRect(0, 0, 150, 20), windowColor) > 0 ? 0 : 1) << "text shows";
}

TEST_F(PercentBarTest, EmptyRangeDrawsNothingAndCompletesThePaint) {
    struct Range {
        int lower, upper;
    } ranges[] = {{5, 5}, {10, 0}};
    for (const Range& range : ranges) {
        CPercentProgressCtrl bar;
        Attach(bar, 120);
        bar.SetRange(range.lower, range.upper);
        Settle(bar.m_hWnd);
        {
            CClientDC dc(&bar);
            CRect rc(0, 0, 120, 20);
            dc.FillSolidRect(&rc, kMagenta);
        }
        bar.Invalidate(TRUE);
        Settle(bar.m_hWnd);
        EXPECT_FALSE(HasPendingPaint(bar.m_hWnd)) << "the paint request was completed";
        PixelGrab grab(bar.m_hWnd);
        EXPECT_EQ(120 * 20, grab.Count(CRect(0, 0, 120, 20), kMagenta)) << range.lower << ".." << range.upper;
        EXPECT_EQ(0, bar.SetPos(7)) << "SetPos still stores";
        EXPECT_EQ(7, bar.SetPos(8));
        bar.DestroyWindow();
    }
}

TEST_F(PercentBarTest, TenThousandStepsRepaintOncePerPixel) {
    CountingBar bar;
    Attach(bar, 600);
    bar.SetRange(0, 10000);
    bar.SetPos(0);
    Settle(bar.m_hWnd);
    bar.paints = 0;
    for (int i = 0; i < 10000; ++i) bar.StepIt();
    EXPECT_EQ(600, bar.paints) << "one repaint per pixel the bar grows, none else";
    EXPECT_FALSE(HasPendingPaint(bar.m_hWnd)) << "each repaint happens at once";
}

TEST_F(PercentBarTest, SetPosRepaintsOnlyWhenTheBarWidthChanges) {
    CountingBar bar;
    Attach(bar, 100);
    bar.SetPos(10);
    Settle(bar.m_hWnd);
    bar.paints = 0;
    EXPECT_EQ(10, bar.SetPos(10));
    EXPECT_EQ(0, bar.paints);
    bar.SetRange(0, 1000);
    EXPECT_FALSE(HasPendingPaint(bar.m_hWnd)) << "SetRange alone does not repaint";
    EXPECT_EQ(10, bar.SetPos(109)) << "still 10 pixels";
    EXPECT_EQ(0, bar.paints);
    EXPECT_EQ(109, bar.SetPos(110));
    EXPECT_EQ(1, bar.paints);
    bar.MoveWindow(10, 10, 100, 22);  // a WM_SIZE forgets the cached width
    Settle(bar.m_hWnd);
    bar.paints = 0;
    bar.SetPos(110);
    EXPECT_EQ(1, bar.paints);
}

TEST_F(PercentBarTest, SetPosBeforeTheWindowExistsIsRefused) {
    CPercentProgressCtrl bar;
    EXPECT_EQ(-1, bar.SetPos(50));
    EXPECT_EQ(-1, bar.StepIt());
    Attach(bar, 100);
    EXPECT_EQ(0, bar.SetPos(10)) << "the position stayed 0";
}

TEST_F(PercentBarTest, CaptionReplacesThePercentageUntilEmptied) {
    CountingBar bar;
    CPercentProgressCtrl percent, caption;
    Attach(bar, 201);
    Attach(percent, 201, 20, 40);
    Attach(caption, 201, 20, 70);
    for (CPercentProgressCtrl* p : {static_cast<CPercentProgressCtrl*>(&bar), &percent, &caption})
        p->SetPos(40);
    caption.ShowCaption(TRUE);
    bar.SetWindowText("Copying");
    PixelGrab withCaption = Render(bar);
    EXPECT_FALSE(withCaption.SameAs(Render(percent)));
    caption.SetWindowText("Copying");
    EXPECT_TRUE(withCaption.SameAs(Render(caption)));

    CString text;
    bar.GetWindowText(text);
    EXPECT_EQ("Copying", Bytes(text));

    Settle(bar.m_hWnd);
    bar.SetWindowText("Copying");
    EXPECT_FALSE(HasPendingPaint(bar.m_hWnd)) << "the same text again does not invalidate";

    bar.SetWindowText("");
    EXPECT_TRUE(HasPendingPaint(bar.m_hWnd));
    EXPECT_TRUE(Render(bar).SameAs(Render(percent))) << "an empty caption brings the percentage back";

    bar.SetWindowText("x");
    bar.SendMessage(WM_SETTEXT, 0, 0);
    EXPECT_TRUE(Render(bar).SameAs(Render(percent))) << "so does a null one";
}

TEST_F(PercentBarTest, CaptionIsKeptAsTheProgramsTextAndCutAtTheBuffer) {
    CPercentProgressCtrl bar;
    Attach(bar, 100);
    bar.SetWindowText(
        "ab\xB0\xA1"
        "cd");  // GBK: a double-byte character at bytes 2..3, U+554A
    wchar_t buffer[8];
    wmemset(buffer, L'#', 8);
    EXPECT_EQ(3, SendMessageW(bar.m_hWnd, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(std::wstring(L"ab\x554A"), std::wstring(buffer)) << "cut to the buffer beside its NUL";
    EXPECT_EQ(L'#', buffer[4]) << "nothing written past the buffer";
    EXPECT_EQ(0, SendMessageW(bar.m_hWnd, WM_GETTEXT, 4, 0));
    // A buffer exactly as long as the caption's five characters: the NUL takes the last place.
    wmemset(buffer, L'#', 8);
    EXPECT_EQ(4, SendMessageW(bar.m_hWnd, WM_GETTEXT, 5, reinterpret_cast<LPARAM>(buffer)));
    EXPECT_EQ(std::wstring(L"ab\x554A"
                           L"c"),
              std::wstring(buffer))
        << "cut to make room for the NUL";
    EXPECT_EQ(L'#', buffer[5]) << "the NUL went one past the buffer";

    // A text that GBK cannot hold leaves no caption: the programs' texts are GBK throughout.
    SendMessageW(bar.m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\xD55C\xAE00"));  // Korean
    CString text("stale");
    bar.GetWindowText(text);
    EXPECT_EQ("", Bytes(text));
}

TEST_F(PercentBarTest, WithoutCaptionOnlyTheTwoRectanglesAreDrawn) {
    CPercentProgressCtrl bar;
    Attach(bar, 200);
    bar.SetPos(25);
    Render(bar);
    bar.ShowCaption(FALSE);
    EXPECT_TRUE(HasPendingPaint(bar.m_hWnd));
    PixelGrab grab = Render(bar);
    EXPECT_EQ(50 * 20, grab.Count(CRect(0, 0, 50, 20), highlight));
    EXPECT_EQ(150 * 20, grab.Count(CRect(50, 0, 200, 20), windowColor));
}

}  // namespace
