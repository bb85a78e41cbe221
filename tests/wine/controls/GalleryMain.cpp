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
#include "support/WindowHelpers.h"

namespace {

const int kWidth = 660, kHeight = 440;
const UINT_PTR kQuitTimer = 1;

struct BarRow {
    const char* label;
    int lower, upper, pos;
    const char* caption;
    BOOL showCaption;
};

const BarRow kBars[] = {
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

class Gallery : public CWnd {
public:
    Gallery(const std::string& quitFile) : m_quitFile(quitFile) {}
    BOOL Build();

protected:
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR timerId);
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    HWND Child(const char* className, const char* text, DWORD style, int x, int y, int cx, int cy, UINT id);

    std::string m_quitFile;
    CPercentProgressCtrl m_bars[kBarCount];
    CColorLabel m_plainLabel, m_blueLabel;
    CShadowLabel m_flatLabel, m_shadowLabel;
    CTexturedButton m_finishButton, m_cancelButton, m_hotButton, m_pressedButton, m_disabledButton,
        m_focusButton, m_plainButton;
    CTexturedButton m_drawnButton;  // drawn through DrawItem with states the platform never sets here
};

BEGIN_MESSAGE_MAP(Gallery, CWnd)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

HWND Gallery::Child(const char* className, const char* text, DWORD style, int x, int y, int cx, int cy,
                    UINT id) {
    return ::CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(NULL),
                             NULL);
}

BOOL Gallery::Build() {
    LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateEx(0, className, "controls gallery", WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 20, kWidth,
                  kHeight, NULL, NULL))
        return FALSE;
    HFONT dialogFont = reinterpret_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));

    for (int i = 0; i < kBarCount; ++i) {
        const BarRow& row = kBars[i];
        m_bars[i].SubclassWindow(Child(PROGRESS_CLASSA, "Progress2", 0, 150, 30 + i * 26, 201, 20, 1000 + i));
        m_bars[i].ShowCaption(row.showCaption);
        m_bars[i].SetRange(row.lower, row.upper);
        m_bars[i].SetStep(1);
        for (int n = 0; n < row.pos; ++n) m_bars[i].StepIt();
        if (row.caption != NULL) m_bars[i].SetWindowText(row.caption);
    }

    m_plainLabel.SubclassWindow(Child("STATIC", "CColorLabel at its defaults", 0, 380, 30, 260, 16, 1100));
    m_blueLabel.SubclassWindow(
        Child("STATIC", "请访问 www.example.com 激活本产品", 0, 380, 52, 260, 16, 1101));
    m_blueLabel.SetTextColor(RGB(0, 0, 255));
    HWND flat = Child("STATIC", "CShadowLabel, shadow off", 0, 380, 80, 260, 20, 1102);
    HWND shadow =
        Child("STATIC",
              "感谢您使用本产品！ With the shadow on, a long line wraps and its shadow wraps the same way.",
              0, 380, 104, 260, 60, 1103);
    ::SendMessageA(flat, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    ::SendMessageA(shadow, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    m_flatLabel.SubclassWindow(flat);
    m_shadowLabel.SubclassWindow(shadow);
    m_shadowLabel.SetShadow(TRUE);

    const int yButtons = 280, w = 72, h = 23, dx = 88;
    AttachTexturedButton(m_finishButton, m_hWnd, "完成", 20, yButtons, w, h, 1);
    AttachTexturedButton(m_cancelButton, m_hWnd, "取消", 20 + dx, yButtons, w, h, 2);
    AttachTexturedButton(m_hotButton, m_hWnd, "hot", 20 + 2 * dx, yButtons, w, h, 3);
    AttachTexturedButton(m_pressedButton, m_hWnd, "pressed", 20 + 3 * dx, yButtons, w, h, 4);
    AttachTexturedButton(m_disabledButton, m_hWnd, "disabled", 20 + 4 * dx, yButtons, w, h, 5);
    AttachTexturedButton(m_focusButton, m_hWnd, "focus", 20 + 5 * dx, yButtons, w, h, 6);
    AttachTexturedButton(m_plainButton, m_hWnd, "no faces", 20 + 6 * dx, yButtons, w, h, 7);
    AttachTexturedButton(m_drawnButton, m_hWnd, "default", -200, -200, w, h, 8);
    CTexturedButton* built[] = {&m_finishButton,   &m_cancelButton, &m_hotButton,  &m_pressedButton,
                                &m_disabledButton, &m_focusButton,  &m_drawnButton};
    for (CTexturedButton* button : built) button->BuildFaces(button == &m_cancelButton ? 6 : 7, 8, 10, 0, 0);
    m_pressedButton.SetState(TRUE);
    m_disabledButton.EnableWindow(FALSE);
    m_focusButton.SetFocus();
    // The hot look needs the cursor over the button.
    RECT rc;
    m_hotButton.GetWindowRect(&rc);
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    m_hotButton.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(w / 2, h / 2));

    SetTimer(kQuitTimer, 100);
    return TRUE;
}

void Gallery::OnPaint() {
    CPaintDC dc(this);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectStockObject(DEFAULT_GUI_FONT);
    CRect rc(20, 8, 360, 24);
    dc.DrawText("CPercentProgressCtrl", -1, &rc, DT_LEFT | DT_SINGLELINE);
    for (int i = 0; i < kBarCount; ++i) {
        CRect rowRect(20, 32 + i * 26, 145, 50 + i * 26);
        dc.DrawText(kBars[i].label, -1, &rowRect, DT_LEFT | DT_SINGLELINE);
    }
    CRect labelsRect(380, 8, 640, 24);
    dc.DrawText("CColorLabel / CShadowLabel", -1, &labelsRect, DT_LEFT | DT_SINGLELINE);
    CRect buttonsRect(20, 256, 640, 272);
    dc.DrawText(
        "CTexturedButton: normal (pattern 7), pattern 6, hot, pressed, disabled, focus, before BuildFaces",
        -1, &buttonsRect, DT_LEFT | DT_SINGLELINE);
    CRect drawnRect(20, 320, 640, 336);
    dc.DrawText("drawn through DrawItem: default, default with focus, pressed with focus", -1, &drawnRect,
                DT_LEFT | DT_SINGLELINE);

    const UINT states[] = {ODS_DEFAULT, ODS_DEFAULT | ODS_FOCUS, ODS_SELECTED | ODS_FOCUS};
    for (int i = 0; i < 3; ++i) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = states[i];
        dis.hwndItem = m_drawnButton.m_hWnd;
        dis.hDC = dc.m_hDC;
        dis.rcItem = CRect(0, 0, 72, 23);
        POINT oldOrigin;
        ::SetViewportOrgEx(dc.m_hDC, 20 + i * 88, 344, &oldOrigin);
        m_drawnButton.DrawItem(&dis);
        ::SetViewportOrgEx(dc.m_hDC, oldOrigin.x, oldOrigin.y, NULL);
    }
}

void Gallery::OnTimer(UINT_PTR timerId) {
    if (timerId == kQuitTimer && ::GetFileAttributesA(m_quitFile.c_str()) != INVALID_FILE_ATTRIBUTES)
        DestroyWindow();
}

void Gallery::OnClose() {
    DestroyWindow();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    AfxInitCommonControls(ICC_PROGRESS_CLASS);
    Gallery gallery(argv[2]);
    if (!gallery.Build()) return 3;
    gallery.UpdateWindow();
    ::RedrawWindow(gallery.m_hWnd, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);

    DWORD start = ::GetTickCount();
    bool ready = false;
    while (gallery.IsWindow() && ::GetTickCount() - start < 60000) {
        PumpMessages(50);
        if (!ready && ::GetTickCount() - start > 1000 && gallery.IsWindow()) {
            ::GdiFlush();
            RECT rc;
            gallery.GetWindowRect(&rc);
            FILE* file = std::fopen(argv[1], "w");
            if (file == NULL) return 4;
            std::fprintf(file, "%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
            std::fclose(file);
            ready = true;
        }
    }
    return ready ? 0 : 5;
}
