#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "controls/ColorLabel.h"
#include "controls/ShadowLabel.h"
#include "support/WindowTestSupport.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

HFONT MakeFont(int nHeight, bool bSharp) {
    LOGFONTA lf = {};
    lf.lfHeight = -nHeight;
    lf.lfQuality = bSharp ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
    lstrcpyA(lf.lfFaceName, "DejaVu Sans");  // a Latin font the harness surely has
    return CreateFontIndirectA(&lf);
}

// Rows of a grab that hold any pixel other than the background.
int InkRows(const CPixelGrab& grab, COLORREF crBack) {
    int nRows = 0;
    for (int y = 0; y < grab.Height(); ++y) {
        for (int x = 0; x < grab.Width(); ++x) {
            if (grab.At(x, y) != crBack) {
                ++nRows;
                break;
            }
        }
    }
    return nRows;
}

bool Between(int n, int a, int b) {
    return (n >= a && n <= b) || (n >= b && n <= a);
}
bool IsBlend(COLORREF cr, COLORREF crA, COLORREF crB) {
    return Between(GetRValue(cr), GetRValue(crA), GetRValue(crB)) &&
           Between(GetGValue(cr), GetGValue(crA), GetGValue(crB)) &&
           Between(GetBValue(cr), GetBValue(crA), GetBValue(crB));
}

class LabelTest : public ::testing::Test {
protected:
    HWND MakeStatic(const char* pszText, DWORD dwStyle, int y, int nHeight = 24, int nWidth = 160) {
        return CreateWindowExA(0, "STATIC", pszText, WS_CHILD | WS_VISIBLE | dwStyle, 10, y, nWidth, nHeight,
                               parent.m_hWnd, NULL, GetModuleHandleA(NULL), NULL);
    }
    CTestParent parent{400, 300};
};

TEST_F(LabelTest, ColorLabelDrawsTextColourOnTheFaceColourAndRepaintsAtOnce) {
    CColorLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeStatic("Hello label", 0, 10)));
    Settle(parent.m_hWnd);
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE), crText = GetSysColor(COLOR_WINDOWTEXT);
    CPixelGrab grab(label.m_hWnd);
    CRect rcAll(0, 0, grab.Width(), grab.Height());
    EXPECT_GT(grab.Count(rcAll, crText), 5) << "text in the window-text colour";
    EXPECT_GT(grab.Count(rcAll, crFace), grab.Width() * grab.Height() / 2) << "on the face colour";
    for (int y = 0; y < grab.Height(); ++y)
        for (int x = 0; x < grab.Width(); ++x)
            ASSERT_TRUE(IsBlend(grab.At(x, y), crFace, crText)) << x << "," << y;

    label.SetTextColor(RGB(0, 0, 255));  // no pumping: the call itself repaints
    ::GdiFlush();
    CPixelGrab blue(label.m_hWnd);
    EXPECT_GT(blue.Count(rcAll, RGB(0, 0, 255)), 5);
    EXPECT_EQ(0, blue.Count(rcAll, crText));
}

TEST_F(LabelTest, ColorLabelUsesTheDefaultGuiFontWhateverTheControlsFont) {
    HFONT hBig = MakeFont(30, false);
    CColorLabel label;
    HWND hLabel = MakeStatic("Hello", 0, 10, 40);
    HWND hPlain = MakeStatic("Hello", 0, 60, 40);
    SendMessageA(hLabel, WM_SETFONT, reinterpret_cast<WPARAM>(hBig), FALSE);
    SendMessageA(hPlain, WM_SETFONT, reinterpret_cast<WPARAM>(hBig), FALSE);
    ASSERT_TRUE(label.SubclassWindow(hLabel));
    label.Invalidate();
    Settle(parent.m_hWnd);
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
    int nPlainRows = InkRows(CPixelGrab(hPlain), crFace);
    int nLabelRows = InkRows(CPixelGrab(hLabel), crFace);
    EXPECT_GT(nPlainRows, 18) << "the big font as a plain static draws it";
    EXPECT_GT(nLabelRows, 5);
    EXPECT_LT(nLabelRows, 16) << "the label draws in the small GUI font; plain " << nPlainRows;
    DestroyWindow(hPlain);
    label.DestroyWindow();
    DeleteObject(hBig);
}

class ShadowLabelTest : public LabelTest {
protected:
    void SetUp() override {
        hFont = MakeFont(13, true);  // no smoothing: the copies compare pixel for pixel
        crBack = GetSysColor(COLOR_BTNFACE);
        ASSERT_NE(crBack, kShadow);
    }
    void TearDown() override { DeleteObject(hFont); }
    HWND MakeLabel(const char* pszText, int y) {
        HWND hWnd = MakeStatic(pszText, 0, y, 60, 90);
        SendMessageA(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
        return hWnd;
    }
    const COLORREF kShadow = RGB(0xD0, 0xD0, 0xD0);
    HFONT hFont = NULL;
    COLORREF crBack = 0;
};

TEST_F(ShadowLabelTest, SetShadowReturnsThePreviousSwitch) {
    CShadowLabel label;
    EXPECT_FALSE(label.SetShadow(TRUE));
    EXPECT_TRUE(label.SetShadow(TRUE));
    EXPECT_TRUE(label.SetShadow(FALSE));
    EXPECT_FALSE(label.SetShadow(FALSE));
}

// A text that wraps onto several lines: the grey copy lies 3 right and 3 down under the black
// text, wrapped the same way, and is cut at the control's edges.
TEST_F(ShadowLabelTest, ShadowIsTheTextMovedThreeRightAndDown) {
    const char* pszText = "Thanks for using it, goodbye now";
    CShadowLabel plain, shadowed;
    ASSERT_TRUE(plain.SubclassWindow(MakeLabel(pszText, 10)));
    ASSERT_TRUE(shadowed.SubclassWindow(MakeLabel(pszText, 100)));
    shadowed.SetShadow(TRUE);
    Settle(parent.m_hWnd);
    CPixelGrab text(plain.m_hWnd), both(shadowed.m_hWnd);
    CRect rcAll(0, 0, text.Width(), text.Height());

    int nBlack = text.Count(rcAll, RGB(0, 0, 0));
    EXPECT_EQ(nBlack + text.Count(rcAll, crBack), text.Width() * text.Height())
        << "without shadow: black text on the parent's background only";
    EXPECT_GT(nBlack, 30);
    int nInkRows = InkRows(text, crBack);
    EXPECT_GT(nInkRows, 20) << "the text wrapped onto several lines";

    for (int y = 0; y < both.Height(); ++y) {
        for (int x = 0; x < both.Width(); ++x) {
            bool bText = text.At(x, y) == RGB(0, 0, 0);
            bool bShadow = text.At(x - 3, y - 3) == RGB(0, 0, 0);
            COLORREF crExpected = bText ? RGB(0, 0, 0) : bShadow ? kShadow : crBack;
            ASSERT_EQ(crExpected, both.At(x, y)) << "pixel " << x << "," << y;
        }
    }
}

TEST_F(ShadowLabelTest, NothingIsErasedAndAnEmptyTextDrawsNothing) {
    CShadowLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeLabel("", 10)));
    label.SetShadow(TRUE);
    Settle(parent.m_hWnd);
    {
        CClientDC dc(&label);
        CRect rc;
        label.GetClientRect(&rc);
        dc.FillSolidRect(&rc, kMagenta);
    }
    label.Invalidate(TRUE);
    Settle(parent.m_hWnd);
    CPixelGrab grab(label.m_hWnd);
    EXPECT_EQ(grab.Width() * grab.Height(), grab.Count(CRect(0, 0, grab.Width(), grab.Height()), kMagenta));
}

}  // namespace
