#include "controls/TexturedButton.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "ButtonTestSupport.h"
#include "support/WindowTestSupport.h"

namespace {

const int W = 90, H = 30, K = 4;

class TexturedButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AttachTexturedButton(button, parent.m_hWnd, "OK", 20, 20, W, H, 1));
        std::srand(1);
        button.BuildFaces(7, 8, 10, 0, 0);
        Settle(parent.m_hWnd);
        crShadow = GetSysColor(COLOR_BTNSHADOW);
        crHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        POINT pt = WindowCentre(button.m_hWnd);
        ptCentre = pt;
        ptAway = {pt.x, pt.y + 80};  // over the parent, below the button
    }
    void TearDown() override { MouseMoveTo(5, 5); }

    CPixelGrab Grab() {
        Settle(parent.m_hWnd);
        return CPixelGrab(button.m_hWnd);
    }
    // Rows 2 and 3 lie inside the edges, above the focus frame and the text.
    void ExpectFaceBand(const CPixelGrab& grab, const CDibImage& image, int nShift, const char* pszWhat) {
        for (int y = 2; y < 4; ++y)
            for (int x = 2 + nShift; x < W - 2; ++x)
                ASSERT_EQ(DibColor(image, x - nShift, y - nShift), grab.At(x, y))
                    << pszWhat << ", pixel " << x << "," << y;
    }
    // A pixel of the band whose hot colour differs from its normal one.
    POINT TellTale() {
        for (int x = 2; x < W - 2; ++x)
            if (DibColor(expected.hot, x, 2) != DibColor(expected.face, x, 2)) return {x, 2};
        return {-1, -1};
    }
    // Waits for the hover to end: leaving may be noticed by a timer.
    CPixelGrab GrabAfterLeaving() {
        POINT pt = TellTale();
        for (int i = 0; i < 40; ++i) {
            PumpMessages(50);
            CPixelGrab grab = Grab();
            if (grab.At(pt.x, pt.y) == DibColor(expected.face, pt.x, pt.y)) return grab;
        }
        return Grab();
    }

    CTestParent parent{300, 200};
    CTexturedButton button;
    CExpectedFaces expected{W, H, 7};
    COLORREF crShadow = 0, crHighlight = 0;
    POINT ptCentre = {0, 0}, ptAway = {0, 0};
};

TEST_F(TexturedButtonTest, HoverLightensTheFaceAndLeavingRestoresIt) {
    CPixelGrab normal = Grab();
    ExpectFaceBand(normal, expected.face, 0, "normal");
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), normal.At(W / 2, H - 1)) << "raised edge";

    MouseMoveTo(ptCentre.x, ptCentre.y);
    ExpectFaceBand(Grab(), expected.hot, 0, "hot");
    ASSERT_GE(TellTale().x, 0) << "the hot face differs from the normal one";

    MouseMoveTo(ptAway.x, ptAway.y);
    ExpectFaceBand(GrabAfterLeaving(), expected.face, 0, "after leaving");
}

// Pressed: the hot face and the text one pixel right and down, inside a sunken edge. Dragging
// off restores the raised look, dragging back presses again, releasing off clicks nothing.
TEST_F(TexturedButtonTest, PressingShiftsInsideASunkenEdgeAndFollowsTheCursor) {
    MouseMoveTo(ptCentre.x, ptCentre.y);
    button.SetFocus();  // the press gives the focus: take the hot look with it for comparing
    CPixelGrab hot = Grab();
    MouseButton(true);
    CPixelGrab pressed = Grab();
    for (int y = K + 2; y < H - K - 2; ++y)
        for (int x = K + 2; x < W - K - 2; ++x)
            ASSERT_EQ(hot.At(x - 1, y - 1), pressed.At(x, y)) << "pixel " << x << "," << y;
    EXPECT_EQ(crShadow, pressed.At(W / 2, 0)) << "sunken edge, top";
    EXPECT_EQ(crHighlight, pressed.At(W / 2, H - 1)) << "sunken edge, bottom";

    MouseMoveTo(ptAway.x, ptAway.y);
    CPixelGrab dragged = Grab();
    ExpectFaceBand(dragged, expected.face, 0, "dragged off");
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), dragged.At(W / 2, H - 1));

    MouseMoveTo(ptCentre.x, ptCentre.y);
    EXPECT_TRUE(Grab().SameAs(pressed)) << "dragging back presses again";

    MouseMoveTo(ptAway.x, ptAway.y);
    MouseButton(false);
    PumpMessages(100);
    EXPECT_EQ(0, parent.m_nClicks) << "released off the button";

    MouseMoveTo(ptCentre.x, ptCentre.y);
    MouseButton(true);
    MouseButton(false);
    PumpMessages(100);
    EXPECT_EQ(1, parent.m_nClicks);
}

TEST_F(TexturedButtonTest, ADoubleClickGivesTwoClicks) {
    MouseMoveTo(ptCentre.x, ptCentre.y);
    MouseButton(true);
    MouseButton(false);
    MouseButton(true);
    MouseButton(false);
    PumpMessages(100);
    EXPECT_EQ(2, parent.m_nClicks);
}

// Disabled: the normal face, a raised edge, the text in the highlight colour with a grey copy one
// pixel up and left on top, in the default GUI font. Composed here the same way for comparing,
// since smoothed text has no single colour to look for.
TEST_F(TexturedButtonTest, DisabledShowsTheFaceWithEmbossedText) {
    button.SetFocus();  // no focus frame while disabled
    button.EnableWindow(FALSE);
    CPixelGrab grab = Grab();

    HDC hdcScreen = GetDC(NULL);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hbm = CreateCompatibleBitmap(hdcScreen, W, H);
    HGDIOBJ hOldBitmap = SelectObject(hdc, hbm);
    HGDIOBJ hOldFont = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    ASSERT_TRUE(expected.disabled.Paint(hdc, 0, 0));
    RECT rc = {0, 0, W, H}, rcText = {K + 2, 0, W - K - 2, H};
    DrawEdge(hdc, &rc, EDGE_RAISED, BF_RECT);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, crHighlight);
    DrawTextA(hdc, "OK", 2, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    OffsetRect(&rcText, -1, -1);
    SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(hdc, "OK", 2, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    int nGray = 0;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            COLORREF cr = GetPixel(hdc, x, y);
            if (cr == GetSysColor(COLOR_GRAYTEXT)) ++nGray;
            EXPECT_EQ(cr, grab.At(x, y)) << "pixel " << x << "," << y;
            if (cr != grab.At(x, y)) break;
        }
    }
    EXPECT_GT(nGray, 3);
    SelectObject(hdc, hOldFont);
    SelectObject(hdc, hOldBitmap);
    DeleteObject(hbm);
    DeleteDC(hdc);
    ReleaseDC(NULL, hdcScreen);
}

TEST_F(TexturedButtonTest, FocusFrameIsDottedFourPixelsInside) {
    button.SetFocus();
    CPixelGrab grab = Grab();
    const int nLineH = W - 2 * K - 1, nLineV = H - 2 * K;
    for (int i = 0; i < nLineH; ++i) {
        COLORREF crDot = i % 2 ? crHighlight : crShadow;
        ASSERT_EQ(crDot, grab.At(K + 1 + i, K)) << "top, dot " << i;
        ASSERT_EQ(crDot, grab.At(K + 1 + i, H - K)) << "bottom, dot " << i;
    }
    for (int i = 0; i < nLineV; ++i) {  // stored row i is drawn at K + 1 + (nLineV - 1 - i)
        COLORREF crDot = i % 2 ? crHighlight : crShadow;
        ASSERT_EQ(crDot, grab.At(K, K + nLineV - i)) << "left, stored row " << i;
        ASSERT_EQ(crDot, grab.At(W - K, K + nLineV - i)) << "right, stored row " << i;
    }
    button.EnableWindow(FALSE);  // no frame without the focus look
    CPixelGrab disabled = Grab();
    EXPECT_EQ(DibColor(expected.face, K + 2, K), disabled.At(K + 2, K));
}

TEST_F(TexturedButtonTest, CheckStateStaysOff) {
    button.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(BST_UNCHECKED, button.SendMessage(BM_GETCHECK));
    EXPECT_EQ(0, button.GetCheck());
}

TEST_F(TexturedButtonTest, TextIgnoresTheParentsFont) {
    CPixelGrab before = Grab();
    LOGFONTA lf = {};
    lf.lfHeight = -24;
    lstrcpyA(lf.lfFaceName, "DejaVu Sans");  // a Latin font the harness surely has
    HFONT hBig = CreateFontIndirectA(&lf);
    button.SetFont(hBig, TRUE);
    EXPECT_TRUE(Grab().SameAs(before));
    button.SetFont(NULL, FALSE);
    DeleteObject(hBig);
}

TEST_F(TexturedButtonTest, BeforeBuildFacesAPlainFaceWithoutFocusFrame) {
    CTexturedButton plain;
    ASSERT_TRUE(AttachTexturedButton(plain, parent.m_hWnd, "Plain", 20, 100, W, H, 2));
    plain.SetFocus();
    Settle(parent.m_hWnd);
    CPixelGrab grab(plain.m_hWnd);
    const COLORREF crFace = GetSysColor(COLOR_BTNFACE);
    for (int x = 2; x < W - 2; ++x) {
        ASSERT_EQ(crFace, grab.At(x, 3)) << x;
        ASSERT_EQ(crFace, grab.At(x, K)) << "no focus frame, " << x;
    }
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), grab.At(W / 2, H - 1));
    EXPECT_NE(0, plain.GetStyle() & BS_OWNERDRAW);
}

}  // namespace
