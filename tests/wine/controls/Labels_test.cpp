#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "controls/ColorLabel.h"
#include "controls/ShadowLabel.h"
#include "support/WindowTestSupport.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

HFONT MakeFont(int height, bool sharp) {
    LOGFONTA lf = {};
    lf.lfHeight = -height;
    lf.lfQuality = sharp ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
    lstrcpyA(lf.lfFaceName, "DejaVu Sans");  // a Latin font the harness surely has
    return CreateFontIndirectA(&lf);
}

// Rows of a grab that hold any pixel other than the background.
int InkRows(const PixelGrab& grab, COLORREF background) {
    int rows = 0;
    for (int y = 0; y < grab.Height(); ++y) {
        for (int x = 0; x < grab.Width(); ++x) {
            if (grab.At(x, y) != background) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

bool Between(int n, int a, int b) {
    return (n >= a && n <= b) || (n >= b && n <= a);
}
bool IsBlend(COLORREF color, COLORREF a, COLORREF b) {
    return Between(GetRValue(color), GetRValue(a), GetRValue(b)) &&
           Between(GetGValue(color), GetGValue(a), GetGValue(b)) &&
           Between(GetBValue(color), GetBValue(a), GetBValue(b));
}

class LabelTest : public ::testing::Test {
protected:
    HWND MakeStatic(const char* caption, DWORD style, int y, int height = 24, int width = 160) {
        return CreateWindowExA(0, "STATIC", caption, WS_CHILD | WS_VISIBLE | style, 10, y, width, height,
                               parent.m_hWnd, NULL, GetModuleHandleA(NULL), NULL);
    }
    TestParent parent{400, 300};
};

TEST_F(LabelTest, ColorLabelDrawsTextColourOnTheFaceColourAndRepaintsAtOnce) {
    CColorLabel label;
    ASSERT_TRUE(label.SubclassWindow(MakeStatic("Hello label", 0, 10)));
    Settle(parent.m_hWnd);
    const COLORREF faceColor = GetSysColor(COLOR_BTNFACE), textColor = GetSysColor(COLOR_WINDOWTEXT);
    PixelGrab grab(label.m_hWnd);
    CRect whole(0, 0, grab.Width(), grab.Height());
    EXPECT_GT(grab.Count(whole, textColor), 5) << "text in the window-text colour";
    EXPECT_GT(grab.Count(whole, faceColor), grab.Width() * grab.Height() / 2) << "on the face colour";
    for (int y = 0; y < grab.Height(); ++y)
        for (int x = 0; x < grab.Width(); ++x)
            ASSERT_TRUE(IsBlend(grab.At(x, y), faceColor, textColor)) << x << "," << y;

    label.SetTextColor(RGB(0, 0, 255));  // no pumping: the call itself repaints
    ::GdiFlush();
    PixelGrab blue(label.m_hWnd);
    EXPECT_GT(blue.Count(whole, RGB(0, 0, 255)), 5);
    EXPECT_EQ(0, blue.Count(whole, textColor));
}

TEST_F(LabelTest, ColorLabelUsesTheDefaultGuiFontWhateverTheControlsFont) {
    HFONT bigFont = MakeFont(30, false);
    CColorLabel label;
    HWND labelWindow = MakeStatic("Hello", 0, 10, 40);
    HWND plainWindow = MakeStatic("Hello", 0, 60, 40);
    SendMessageA(labelWindow, WM_SETFONT, reinterpret_cast<WPARAM>(bigFont), FALSE);
    SendMessageA(plainWindow, WM_SETFONT, reinterpret_cast<WPARAM>(bigFont), FALSE);
    ASSERT_TRUE(label.SubclassWindow(labelWindow));
    label.Invalidate();
    Settle(parent.m_hWnd);
    const COLORREF faceColor = GetSysColor(COLOR_BTNFACE);
    int plainRows = InkRows(PixelGrab(plainWindow), faceColor);
    int labelRows = InkRows(PixelGrab(labelWindow), faceColor);
    EXPECT_GT(plainRows, 18) << "the big font as a plain static draws it";
    EXPECT_GT(labelRows, 5);
    EXPECT_LT(labelRows, 16) << "the label draws in the small GUI font; plain " << plainRows;
    DestroyWindow(plainWindow);
    label.DestroyWindow();
    DeleteObject(bigFont);
}

class ShadowLabelTest : public LabelTest {
protected:
    void SetUp() override {
        font = MakeFont(13, true);  // no smoothing: the copies compare pixel for pixel
        background = GetSysColor(COLOR_BTNFACE);
        ASSERT_NE(background, kShadow);
    }
    void TearDown() override { DeleteObject(font); }
    HWND MakeLabel(const char* caption, int y) {
        HWND window = MakeStatic(caption, 0, y, 60, 90);
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return window;
    }
    const COLORREF kShadow = RGB(0xD0, 0xD0, 0xD0);
    HFONT font = NULL;
    COLORREF background = 0;
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
    const char* caption = "Thanks for using it, goodbye now";
    CShadowLabel plain, shadowed;
    ASSERT_TRUE(plain.SubclassWindow(MakeLabel(caption, 10)));
    ASSERT_TRUE(shadowed.SubclassWindow(MakeLabel(caption, 100)));
    shadowed.SetShadow(TRUE);
    Settle(parent.m_hWnd);
    PixelGrab text(plain.m_hWnd), both(shadowed.m_hWnd);
    CRect whole(0, 0, text.Width(), text.Height());

    int black = text.Count(whole, RGB(0, 0, 0));
    EXPECT_EQ(black + text.Count(whole, background), text.Width() * text.Height())
        << "without shadow: black text on the parent's background only";
    EXPECT_GT(black, 30);
    int inkRows = InkRows(text, background);
    EXPECT_GT(inkRows, 20) << "the text wrapped onto several lines";

    for (int y = 0; y < both.Height(); ++y) {
        for (int x = 0; x < both.Width(); ++x) {
            bool isText = text.At(x, y) == RGB(0, 0, 0);
            bool isShadow = text.At(x - 3, y - 3) == RGB(0, 0, 0);
            COLORREF expected = isText ? RGB(0, 0, 0) : isShadow ? kShadow : background;
            ASSERT_EQ(expected, both.At(x, y)) << "pixel " << x << "," << y;
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
    PixelGrab grab(label.m_hWnd);
    EXPECT_EQ(grab.Width() * grab.Height(), grab.Count(CRect(0, 0, grab.Width(), grab.Height()), kMagenta));
}

}  // namespace
