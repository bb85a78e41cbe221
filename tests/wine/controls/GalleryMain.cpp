// A window that shows every display control in each of its states, for a screenshot.
// Usage: controls_gallery <ready-file> <quit-file>. Once everything is painted, the window's
// screen rectangle is written to the ready file ("x y width height"); the program ends when
// the quit file appears, or after a minute.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ButtonTestSupport.h"
#include "controls/ColorLabel.h"
#include "controls/PercentProgressCtrl.h"
#include "controls/ShadowLabel.h"
#include "controls/TexturedButton.h"
#include "framework/CommonControls.h"
#include "framework/Dc.h"
#include "framework/WndClass.h"

namespace {

const int kWidth = 660, kHeight = 440;
const UINT_PTR kQuitTimer = 1;

struct CBarRow {
    const char* pszLabel;
    int nLower, nUpper, nPos;
    const char* pszCaption;
    BOOL bShowCaption;
};

const CBarRow kBars[] = {
    {"new: 0%", 0, 100, 0, NULL, TRUE},
    {"1 of 3: 33%", 0, 3, 1, NULL, TRUE},
    {"50 of 100 on 201 px", 0, 100, 50, NULL, TRUE},
    {"2 of 3: 66%", 0, 3, 2, NULL, TRUE},
    {"stepped past the end", 0, 2, 3, NULL, TRUE},
    {"caption", 0, 100, 40, "正在复制文件…", TRUE},
    {"caption off", 0, 100, 70, NULL, FALSE},
    {"empty range: nothing", 5, 5, 3, NULL, TRUE},
};
const int kBarCount = sizeof(kBars) / sizeof(kBars[0]);

class CGallery : public CWnd {
public:
    CGallery(const std::string& strQuit) : m_strQuit(strQuit) {}
    BOOL Build();

protected:
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    HWND Child(const char* pszClass, const char* pszText, DWORD dwStyle, int x, int y, int cx, int cy,
               UINT nID);

    std::string m_strQuit;
    CPercentProgressCtrl m_aBars[kBarCount];
    CColorLabel m_lblPlain, m_lblBlue;
    CShadowLabel m_lblFlat, m_lblShadow;
    CTexturedButton m_btnFinish, m_btnCancel, m_btnHot, m_btnPressed, m_btnDisabled, m_btnFocus, m_btnPlain;
    CTexturedButton m_btnDrawn;  // drawn through DrawItem with states the platform never sets here
};

BEGIN_MESSAGE_MAP(CGallery, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

HWND CGallery::Child(const char* pszClass, const char* pszText, DWORD dwStyle, int x, int y, int cx, int cy,
                     UINT nID) {
    return ::CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE | dwStyle, x, y, cx, cy, m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), ::GetModuleHandleA(NULL),
                             NULL);
}

BOOL CGallery::Build() {
    LPCSTR pszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateEx(0, pszClass, "controls gallery", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 20, kWidth, kHeight,
                  NULL, NULL))
        return FALSE;
    HFONT hDialogFont = reinterpret_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));

    for (int i = 0; i < kBarCount; ++i) {
        const CBarRow& row = kBars[i];
        m_aBars[i].SubclassWindow(
            Child(PROGRESS_CLASSA, "Progress2", 0, 150, 30 + i * 26, 201, 20, 1000 + i));
        m_aBars[i].ShowCaption(row.bShowCaption);
        m_aBars[i].SetRange(row.nLower, row.nUpper);
        m_aBars[i].SetStep(1);
        for (int n = 0; n < row.nPos; ++n) m_aBars[i].StepIt();
        if (row.pszCaption != NULL) m_aBars[i].SetWindowText(row.pszCaption);
    }

    m_lblPlain.SubclassWindow(Child("STATIC", "CColorLabel at its defaults", 0, 380, 30, 260, 16, 1100));
    m_lblBlue.SubclassWindow(Child("STATIC", "请访问 www.example.com 激活本产品", 0, 380, 52, 260, 16, 1101));
    m_lblBlue.SetTextColor(RGB(0, 0, 255));
    HWND hFlat = Child("STATIC", "CShadowLabel, shadow off", 0, 380, 80, 260, 20, 1102);
    HWND hShadow =
        Child("STATIC",
              "感谢您使用本产品！ With the shadow on, a long line wraps and its shadow wraps the same way.",
              0, 380, 104, 260, 60, 1103);
    ::SendMessageA(hFlat, WM_SETFONT, reinterpret_cast<WPARAM>(hDialogFont), FALSE);
    ::SendMessageA(hShadow, WM_SETFONT, reinterpret_cast<WPARAM>(hDialogFont), FALSE);
    m_lblFlat.SubclassWindow(hFlat);
    m_lblShadow.SubclassWindow(hShadow);
    m_lblShadow.SetShadow(TRUE);

    const int yButtons = 280, w = 72, h = 23, dx = 88;
    AttachTexturedButton(m_btnFinish, m_hWnd, "完成", 20, yButtons, w, h, 1);
    AttachTexturedButton(m_btnCancel, m_hWnd, "取消", 20 + dx, yButtons, w, h, 2);
    AttachTexturedButton(m_btnHot, m_hWnd, "hot", 20 + 2 * dx, yButtons, w, h, 3);
    AttachTexturedButton(m_btnPressed, m_hWnd, "pressed", 20 + 3 * dx, yButtons, w, h, 4);
    AttachTexturedButton(m_btnDisabled, m_hWnd, "disabled", 20 + 4 * dx, yButtons, w, h, 5);
    AttachTexturedButton(m_btnFocus, m_hWnd, "focus", 20 + 5 * dx, yButtons, w, h, 6);
    AttachTexturedButton(m_btnPlain, m_hWnd, "no faces", 20 + 6 * dx, yButtons, w, h, 7);
    AttachTexturedButton(m_btnDrawn, m_hWnd, "default", -200, -200, w, h, 8);
    CTexturedButton* apBuilt[] = {&m_btnFinish,   &m_btnCancel, &m_btnHot,  &m_btnPressed,
                                  &m_btnDisabled, &m_btnFocus,  &m_btnDrawn};
    for (CTexturedButton* pButton : apBuilt)
        pButton->BuildFaces(pButton == &m_btnCancel ? 6 : 7, 8, 10, 0, 0);
    m_btnPressed.SetState(TRUE);
    m_btnDisabled.EnableWindow(FALSE);
    m_btnFocus.SetFocus();
    // The hot look needs the cursor over the button.
    RECT rc;
    m_btnHot.GetWindowRect(&rc);
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    m_btnHot.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(w / 2, h / 2));

    SetTimer(kQuitTimer, 100);
    return TRUE;
}

void CGallery::OnPaint() {
    CPaintDC dc(this);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    CRect rc(20, 8, 360, 24);
    dc.DrawText("CPercentProgressCtrl", -1, &rc, DT_LEFT | DT_SINGLELINE);
    for (int i = 0; i < kBarCount; ++i) {
        CRect rcRow(20, 32 + i * 26, 145, 50 + i * 26);
        dc.DrawText(kBars[i].pszLabel, -1, &rcRow, DT_LEFT | DT_SINGLELINE);
    }
    CRect rcLabels(380, 8, 640, 24);
    dc.DrawText("CColorLabel / CShadowLabel", -1, &rcLabels, DT_LEFT | DT_SINGLELINE);
    CRect rcButtons(20, 256, 640, 272);
    dc.DrawText(
        "CTexturedButton: normal (pattern 7), pattern 6, hot, pressed, disabled, focus, before BuildFaces",
        -1, &rcButtons, DT_LEFT | DT_SINGLELINE);
    CRect rcDrawn(20, 320, 640, 336);
    dc.DrawText("drawn through DrawItem: default, default with focus, pressed with focus", -1, &rcDrawn,
                DT_LEFT | DT_SINGLELINE);

    const UINT anStates[] = {ODS_DEFAULT, ODS_DEFAULT | ODS_FOCUS, ODS_SELECTED | ODS_FOCUS};
    for (int i = 0; i < 3; ++i) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = anStates[i];
        dis.hwndItem = m_btnDrawn.m_hWnd;
        dis.hDC = dc.m_hDC;
        dis.rcItem = CRect(0, 0, 72, 23);
        POINT ptOld;
        ::SetViewportOrgEx(dc.m_hDC, 20 + i * 88, 344, &ptOld);
        m_btnDrawn.DrawItem(&dis);
        ::SetViewportOrgEx(dc.m_hDC, ptOld.x, ptOld.y, NULL);
    }
}

void CGallery::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kQuitTimer && ::GetFileAttributesA(m_strQuit.c_str()) != INVALID_FILE_ATTRIBUTES)
        DestroyWindow();
}

void CGallery::OnClose() {
    DestroyWindow();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    AfxInitCommonControls(ICC_PROGRESS_CLASS);
    CGallery gallery(argv[2]);
    if (!gallery.Build()) return 3;
    gallery.UpdateWindow();
    ::RedrawWindow(gallery.m_hWnd, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);

    DWORD dwStart = ::GetTickCount();
    bool bReady = false;
    MSG msg;
    while (gallery.IsWindow() && ::GetTickCount() - dwStart < 60000) {
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (!bReady && ::GetTickCount() - dwStart > 1000 && gallery.IsWindow()) {
            ::GdiFlush();
            RECT rc;
            gallery.GetWindowRect(&rc);
            FILE* pFile = std::fopen(argv[1], "w");
            if (pFile == NULL) return 4;
            std::fprintf(pFile, "%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
            std::fclose(pFile);
            bReady = true;
        }
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
    }
    return bReady ? 0 : 5;
}
