#include "controls/TexturedButton.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "ButtonTestSupport.h"
#include "support/WindowTestSupport.h"

namespace {

const int kWidth = 90, kHeight = 30, kInset = 4;

class TexturedButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AttachTexturedButton(button, parent.m_hWnd, "OK", 20, 20, kWidth, kHeight, 1));
        std::srand(1);
        button.BuildFaces(7, 8, 10, 0, 0);
        Settle(parent.m_hWnd);
        shadow = GetSysColor(COLOR_BTNSHADOW);
        highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        POINT pt = WindowCentre(button.m_hWnd);
        centre = pt;
        away = {pt.x, pt.y + 80};  // over the parent, below the button
    }
    void TearDown() override { MouseMoveTo(5, 5); }

    PixelGrab Grab() {
        Settle(parent.m_hWnd);
        return PixelGrab(button.m_hWnd);
    }
    // Rows 2 and 3 lie inside the edges, above the focus frame and the text.
    void ExpectFaceBand(const PixelGrab& grab, const CDibImage& image, int shift, const char* what) {
        for (int y = 2; y < 4; ++y)
            for (int x = 2 + shift; x < kWidth - 2; ++x)
                ASSERT_EQ(DibColor(image, x - shift, y - shift), grab.At(x, y))
                    << what << ", pixel " << x << "," << y;
    }
    // A pixel of the band whose hot colour differs from its normal one.
    POINT TellTale() {
        for (int x = 2; x < kWidth - 2; ++x)
            if (DibColor(expected.hot, x, 2) != DibColor(expected.face, x, 2)) return {x, 2};
        return {-1, -1};
    }
    // Waits for the hover to end: leaving may be noticed by a timer.
    PixelGrab GrabAfterLeaving() {
        POINT pt = TellTale();
        for (int i = 0; i < 40; ++i) {
            PumpMessages(50);
            PixelGrab grab = Grab();
            if (grab.At(pt.x, pt.y) == DibColor(expected.face, pt.x, pt.y)) return grab;
        }
        return Grab();
    }

    TestParent parent{300, 200};
    CTexturedButton button;
    ExpectedFaces expected{kWidth, kHeight, 7};
    COLORREF shadow = 0, highlight = 0;
    POINT centre = {0, 0}, away = {0, 0};
};

TEST_F(TexturedButtonTest, HoverLightensTheFaceAndLeavingRestoresIt) {
    PixelGrab normal = Grab();
    ExpectFaceBand(normal, expected.face, 0, "normal");
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), normal.At(kWidth / 2, kHeight - 1)) << "raised edge";

    MouseMoveTo(centre.x, centre.y);
    ExpectFaceBand(Grab(), expected.hot, 0, "hot");
    ASSERT_GE(TellTale().x, 0) << "the hot face differs from the normal one";

    MouseMoveTo(away.x, away.y);
    ExpectFaceBand(GrabAfterLeaving(), expected.face, 0, "after leaving");
}

// Pressed: the hot face and the text one pixel right and down, inside a sunken edge. Dragging
// off restores the raised look, dragging back presses again, releasing off clicks nothing.
TEST_F(TexturedButtonTest, PressingShiftsInsideASunkenEdgeAndFollowsTheCursor) {
    MouseMoveTo(centre.x, centre.y);
    button.SetFocus();  // the press gives the focus: take the hot look with it for comparing
    PixelGrab hot = Grab();
    MouseButton(true);
    PixelGrab pressed = Grab();
    for (int y = kInset + 2; y < kHeight - kInset - 2; ++y)
        for (int x = kInset + 2; x < kWidth - kInset - 2; ++x)
            ASSERT_EQ(hot.At(x - 1, y - 1), pressed.At(x, y)) << "pixel " << x << "," << y;
    EXPECT_EQ(shadow, pressed.At(kWidth / 2, 0)) << "sunken edge, top";
    EXPECT_EQ(highlight, pressed.At(kWidth / 2, kHeight - 1)) << "sunken edge, bottom";

    MouseMoveTo(away.x, away.y);
    PixelGrab dragged = Grab();
    ExpectFaceBand(dragged, expected.face, 0, "dragged off");
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), dragged.At(kWidth / 2, kHeight - 1));

    MouseMoveTo(centre.x, centre.y);
    EXPECT_TRUE(Grab().SameAs(pressed)) << "dragging back presses again";

    MouseMoveTo(away.x, away.y);
    MouseButton(false);
    PumpMessages(100);
    EXPECT_EQ(0, parent.clicks) << "released off the button";

    MouseMoveTo(centre.x, centre.y);
    MouseButton(true);
    MouseButton(false);
    PumpMessages(100);
    EXPECT_EQ(1, parent.clicks);
}

TEST_F(TexturedButtonTest, ADoubleClickGivesTwoClicks) {
    MouseMoveTo(centre.x, centre.y);
    MouseButton(true);
    MouseButton(false);
    MouseButton(true);
    MouseButton(false);
    PumpMessages(100);
    EXPECT_EQ(2, parent.clicks);
}

// Disabled: the normal face, a raised edge, the text in the highlight colour with a grey copy one
// pixel up and left on top, in the default GUI font. Composed here the same way for comparing,
// since smoothed text has no single colour to look for.
TEST_F(TexturedButtonTest, DisabledShowsTheFaceWithEmbossedText) {
    button.SetFocus();  // no focus frame while disabled
    button.EnableWindow(FALSE);
    PixelGrab grab = Grab();

    HDC screen = GetDC(NULL);
    HDC hdc = CreateCompatibleDC(screen);
    HBITMAP hbm = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ oldBitmap = SelectObject(hdc, hbm);
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    ASSERT_TRUE(expected.disabled.Paint(hdc, 0, 0));
    RECT rc = {0, 0, kWidth, kHeight}, textRect = {kInset + 2, 0, kWidth - kInset - 2, kHeight};
    DrawEdge(hdc, &rc, EDGE_RAISED, BF_RECT);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, highlight);
    DrawTextA(hdc, "OK", 2, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    OffsetRect(&textRect, -1, -1);
    SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(hdc, "OK", 2, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    int grayPixels = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            COLORREF composed = GetPixel(hdc, x, y);
            if (composed == GetSysColor(COLOR_GRAYTEXT)) ++grayPixels;
            EXPECT_EQ(composed, grab.At(x, y)) << "pixel " << x << "," << y;
            if (composed != grab.At(x, y)) break;
        }
    }
    EXPECT_GT(grayPixels, 3);
    SelectObject(hdc, oldFont);
    SelectObject(hdc, oldBitmap);
    DeleteObject(hbm);
    DeleteDC(hdc);
    ReleaseDC(NULL, screen);
}

TEST_F(TexturedButtonTest, FocusFrameIsDottedFourPixelsInside) {
    button.SetFocus();
    PixelGrab grab = Grab();
    const int horizontalDots = kWidth - 2 * kInset - 1, verticalDots = kHeight - 2 * kInset;
    for (int i = 0; i < horizontalDots; ++i) {
        COLORREF dot = i % 2 ? highlight : shadow;
        ASSERT_EQ(dot, grab.At(kInset + 1 + i, kInset)) << "top, dot " << i;
        ASSERT_EQ(dot, grab.At(kInset + 1 + i, kHeight - kInset)) << "bottom, dot " << i;
    }
    for (int i = 0; i < verticalDots; ++i) {  // stored row i is drawn at K + 1 + (verticalDots - 1 - i)
        COLORREF dot = i % 2 ? highlight : shadow;
        ASSERT_EQ(dot, grab.At(kInset, kInset + verticalDots - i)) << "left, stored row " << i;
        ASSERT_EQ(dot, grab.At(kWidth - kInset, kInset + verticalDots - i)) << "right, stored row " << i;
    }
    button.EnableWindow(FALSE);  // no frame without the focus look
    PixelGrab disabled = Grab();
    EXPECT_EQ(DibColor(expected.face, kInset + 2, kInset), disabled.At(kInset + 2, kInset));
}

TEST_F(TexturedButtonTest, CheckStateStaysOff) {
    button.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(BST_UNCHECKED, button.SendMessage(BM_GETCHECK));
    EXPECT_EQ(0, button.GetCheck());
}

TEST_F(TexturedButtonTest, TextIgnoresTheParentsFont) {
    PixelGrab before = Grab();
    LOGFONTA lf = {};
    lf.lfHeight = -24;
    lstrcpyA(lf.lfFaceName, "DejaVu Sans");  // a Latin font the harness surely has
    HFONT bigFont = CreateFontIndirectA(&lf);
    button.SetFont(bigFont, TRUE);
    EXPECT_TRUE(Grab().SameAs(before));
    button.SetFont(NULL, FALSE);
    DeleteObject(bigFont);
}

TEST_F(TexturedButtonTest, BeforeBuildFacesAPlainFaceWithoutFocusFrame) {
    CTexturedButton plain;
    ASSERT_TRUE(AttachTexturedButton(plain, parent.m_hWnd, "Plain", 20, 100, kWidth, kHeight, 2));
    plain.SetFocus();
    Settle(parent.m_hWnd);
    PixelGrab grab(plain.m_hWnd);
    const COLORREF faceColor = GetSysColor(COLOR_BTNFACE);
    for (int x = 2; x < kWidth - 2; ++x) {
        ASSERT_EQ(faceColor, grab.At(x, 3)) << x;
        ASSERT_EQ(faceColor, grab.At(x, kInset)) << "no focus frame, " << x;
    }
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), grab.At(kWidth / 2, kHeight - 1));
    EXPECT_NE(0, plain.GetStyle() & BS_OWNERDRAW);
}

}  // namespace
