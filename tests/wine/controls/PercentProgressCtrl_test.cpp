#include "controls/PercentProgressCtrl.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "framework/CommonControls.h"
#include "framework/NarrowString.h"
#include "support/WindowTestSupport.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// Counts the paints that reach the control.
class CCountingBar : public CPercentProgressCtrl {
public:
    int m_nPaints = 0;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override {
        if (nMsg == WM_PAINT) ++m_nPaints;
        return CPercentProgressCtrl::WindowProc(nMsg, wParam, lParam);
    }
};

class PercentBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxInitCommonControls(ICC_PROGRESS_CLASS);
        crHighlight = GetSysColor(COLOR_HIGHLIGHT);
        crWindow = GetSysColor(COLOR_WINDOW);
    }

    // A template-like progress control (with its own text), subclassed as a dialog would.
    HWND MakeNative(int nWidth, int nHeight = 20, int y = 10, const char* pszText = "Progress2") {
        return CreateWindowExA(0, PROGRESS_CLASSA, pszText, WS_CHILD | WS_VISIBLE, 10, y, nWidth, nHeight,
                               parent.m_hWnd, NULL, GetModuleHandleA(NULL), NULL);
    }
    void Attach(CPercentProgressCtrl& bar, int nWidth, int nHeight = 20, int y = 10) {
        ASSERT_TRUE(bar.SubclassWindow(MakeNative(nWidth, nHeight, y)));
    }
    // Paints the whole control now and reads it back.
    CPixelGrab Render(CPercentProgressCtrl& bar) {
        bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        Settle(bar.m_hWnd);
        return CPixelGrab(bar.m_hWnd);
    }
    BOOL HasPendingPaint(HWND hWnd) { return GetUpdateRect(hWnd, NULL, FALSE); }

    CTestParent parent{500, 200};
    COLORREF crHighlight = 0;
    COLORREF crWindow = 0;
};

TEST_F(PercentBarTest, NewControlShowsZeroPercentOnTheWindowColour) {
    CPercentProgressCtrl bar, reference;
    Attach(bar, 201);
    Attach(reference, 201, 20, 40);
    reference.SetWindowText("0%");
    CPixelGrab grab = Render(bar);
    EXPECT_TRUE(grab.SameAs(Render(reference))) << "the text reads 0%";
    for (int y = 0; y < grab.Height(); ++y) {
        EXPECT_EQ(crWindow, grab.At(0, y)) << "no bar, row " << y;
        EXPECT_EQ(crWindow, grab.At(200, y)) << "row " << y;
    }
    CRect rc(0, 0, grab.Width(), grab.Height());
    EXPECT_GT(grab.Count(rc, crHighlight), 10) << "the text in the highlight colour";
}

TEST_F(PercentBarTest, TemplateTextIsNeverShownOrReported) {
    CPercentProgressCtrl bar;
    Attach(bar, 201);
    char szText[32] = "marker";
    EXPECT_EQ(0, bar.GetWindowText(szText, sizeof(szText)));
    EXPECT_STREQ("", szText);
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
    CPixelGrab text = Render(bar);
    CPixelGrab left = Render(overBar);
    CPixelGrab right = Render(overBack);
    CPixelGrab back = Render(bare);
    ASSERT_EQ(201, back.Width());
    for (int y = 0; y < back.Height(); ++y) {
        EXPECT_EQ(crHighlight, back.At(99, y)) << "row " << y;
        EXPECT_EQ(crWindow, back.At(100, y)) << "row " << y;
    }
    int nTextLeft = 0, nTextRight = 0;
    for (int y = 0; y < text.Height(); ++y) {
        for (int x = 0; x < text.Width(); ++x) {
            const CPixelGrab& expected = x < 100 ? left : right;
            ASSERT_EQ(expected.At(x, y), text.At(x, y)) << "pixel " << x << "," << y;
            if (text.At(x, y) != back.At(x, y)) (x < 100 ? nTextLeft : nTextRight) += 1;
        }
    }
    EXPECT_GT(nTextLeft, 10) << "text left of the edge";
    EXPECT_GT(nTextRight, 10) << "text right of the edge";
}

TEST_F(PercentBarTest, PartialRepaintSplitsAtTheSameColumn) {
    CPercentProgressCtrl bar;
    Attach(bar, 201);
    bar.SetWindowText("MMMMMMMMMMMM");
    bar.SetPos(50);
    CPixelGrab whole = Render(bar);
    {
        CClientDC dc(&bar);  // spoil the screen so a partial repaint has to restore it
        CRect rc(0, 0, 201, 20);
        dc.FillSolidRect(&rc, kMagenta);
    }
    CRect rcPart(60, 0, 150, 20);
    bar.InvalidateRect(&rcPart, TRUE);
    Settle(bar.m_hWnd);
    CPixelGrab part(bar.m_hWnd);
    for (int y = 0; y < whole.Height(); ++y)
        for (int x = rcPart.left; x < rcPart.right; ++x)
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
    CPixelGrab grown = Render(bar);
    ASSERT_EQ(301, grown.Width());
    EXPECT_TRUE(grown.SameAs(Render(reference)));
}

TEST_F(PercentBarTest, PercentagesTruncate) {
    struct Row {
        int nPos;
        const char* pszText;
    } rows[] = {{1, "33%"}, {2, "66%"}};
    for (const Row& row : rows) {
        CPercentProgressCtrl bar, reference;
        Attach(bar, 150);
        Attach(reference, 150, 20, 40);
        bar.SetRange(0, 3);
        reference.SetRange(0, 3);
        bar.SetPos(row.nPos);
        reference.SetPos(row.nPos);
        reference.SetWindowText(row.pszText);
        EXPECT_TRUE(Render(bar).SameAs(Render(reference))) << row.pszText;
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
    CPixelGrab grab = Render(bar);
    EXPECT_TRUE(grab.SameAs(Render(reference)));
    EXPECT_EQ(crHighlight, grab.At(149, 0)) << "the bar reaches the right end";
    EXPECT_EQ(0, grab.Count(CRect(0, 0, 150, 20), crWindow) > 0 ? 0 : 1) << "text shows";
}

TEST_F(PercentBarTest, EmptyRangeDrawsNothingAndCompletesThePaint) {
    struct Range {
        int nLower, nUpper;
    } ranges[] = {{5, 5}, {10, 0}};
    for (const Range& range : ranges) {
        CPercentProgressCtrl bar;
        Attach(bar, 120);
        bar.SetRange(range.nLower, range.nUpper);
        Settle(bar.m_hWnd);
        {
            CClientDC dc(&bar);
            CRect rc(0, 0, 120, 20);
            dc.FillSolidRect(&rc, kMagenta);
        }
        bar.Invalidate(TRUE);
        Settle(bar.m_hWnd);
        EXPECT_FALSE(HasPendingPaint(bar.m_hWnd)) << "the paint request was completed";
        CPixelGrab grab(bar.m_hWnd);
        EXPECT_EQ(120 * 20, grab.Count(CRect(0, 0, 120, 20), kMagenta))
            << range.nLower << ".." << range.nUpper;
        EXPECT_EQ(0, bar.SetPos(7)) << "SetPos still stores";
        EXPECT_EQ(7, bar.SetPos(8));
        bar.DestroyWindow();
    }
}

TEST_F(PercentBarTest, TenThousandStepsRepaintOncePerPixel) {
    CCountingBar bar;
    Attach(bar, 600);
    bar.SetRange(0, 10000);
    bar.SetPos(0);
    Settle(bar.m_hWnd);
    bar.m_nPaints = 0;
    for (int i = 0; i < 10000; ++i) bar.StepIt();
    EXPECT_EQ(600, bar.m_nPaints) << "one repaint per pixel the bar grows, none else";
    EXPECT_FALSE(HasPendingPaint(bar.m_hWnd)) << "each repaint happens at once";
}

TEST_F(PercentBarTest, SetPosRepaintsOnlyWhenTheBarWidthChanges) {
    CCountingBar bar;
    Attach(bar, 100);
    bar.SetPos(10);
    Settle(bar.m_hWnd);
    bar.m_nPaints = 0;
    EXPECT_EQ(10, bar.SetPos(10));
    EXPECT_EQ(0, bar.m_nPaints);
    bar.SetRange(0, 1000);
    EXPECT_FALSE(HasPendingPaint(bar.m_hWnd)) << "SetRange alone does not repaint";
    EXPECT_EQ(10, bar.SetPos(109)) << "still 10 pixels";
    EXPECT_EQ(0, bar.m_nPaints);
    EXPECT_EQ(109, bar.SetPos(110));
    EXPECT_EQ(1, bar.m_nPaints);
    bar.MoveWindow(10, 10, 100, 22);  // a WM_SIZE forgets the cached width
    Settle(bar.m_hWnd);
    bar.m_nPaints = 0;
    bar.SetPos(110);
    EXPECT_EQ(1, bar.m_nPaints);
}

TEST_F(PercentBarTest, SetPosBeforeTheWindowExistsIsRefused) {
    CPercentProgressCtrl bar;
    EXPECT_EQ(-1, bar.SetPos(50));
    EXPECT_EQ(-1, bar.StepIt());
    Attach(bar, 100);
    EXPECT_EQ(0, bar.SetPos(10)) << "the position stayed 0";
}

TEST_F(PercentBarTest, CaptionReplacesThePercentageUntilEmptied) {
    CCountingBar bar;
    CPercentProgressCtrl percent, caption;
    Attach(bar, 201);
    Attach(percent, 201, 20, 40);
    Attach(caption, 201, 20, 70);
    for (CPercentProgressCtrl* p : {static_cast<CPercentProgressCtrl*>(&bar), &percent, &caption})
        p->SetPos(40);
    caption.ShowCaption(TRUE);
    bar.SetWindowText("Copying");
    CPixelGrab withCaption = Render(bar);
    EXPECT_FALSE(withCaption.SameAs(Render(percent)));
    caption.SetWindowText("Copying");
    EXPECT_TRUE(withCaption.SameAs(Render(caption)));

    char szText[16];
    EXPECT_EQ(7, bar.GetWindowText(szText, sizeof(szText)));
    EXPECT_STREQ("Copying", szText);

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

TEST_F(PercentBarTest, GetTextCutsAtTheBufferAndNeverSplitsACharacter) {
    CPercentProgressCtrl bar;
    Attach(bar, 100);
    bar.SetWindowText(
        "ab\xB0\xA1"
        "cd");  // a double-byte character at bytes 2..3
    char szBuf[8];
    memset(szBuf, '#', sizeof(szBuf));
    EXPECT_EQ(4, bar.SendMessage(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(szBuf)));
    EXPECT_STREQ("ab", szBuf) << "the character does not fit beside the zero";
    EXPECT_EQ('#', szBuf[4]) << "nothing written past the buffer";
    EXPECT_EQ(0, bar.SendMessage(WM_GETTEXT, 4, 0));
}

TEST_F(PercentBarTest, WithoutCaptionOnlyTheTwoRectanglesAreDrawn) {
    CPercentProgressCtrl bar;
    Attach(bar, 200);
    bar.SetPos(25);
    Render(bar);
    bar.ShowCaption(FALSE);
    EXPECT_TRUE(HasPendingPaint(bar.m_hWnd));
    CPixelGrab grab = Render(bar);
    EXPECT_EQ(50 * 20, grab.Count(CRect(0, 0, 50, 20), crHighlight));
    EXPECT_EQ(150 * 20, grab.Count(CRect(50, 0, 200, 20), crWindow));
}

}  // namespace
