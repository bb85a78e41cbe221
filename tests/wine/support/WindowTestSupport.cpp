#include "support/WindowTestSupport.h"

#include "framework/WndClass.h"

BEGIN_MESSAGE_MAP(TestParent, CWnd)
    ON_MESSAGE(WM_COMMAND, OnCommand)
END_MESSAGE_MAP()

TestParent::TestParent(int width, int height, int x, int y) : clicks(0) {
    LPCSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    CreateEx(0, className, "controls test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height,
             NULL, NULL);
    ::SetForegroundWindow(m_hWnd);
    Settle(m_hWnd);
}

TestParent::~TestParent() {
    DestroyWindow();
}

LRESULT TestParent::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && lParam != 0) ++clicks;
    return Default();
}

void Settle(HWND window) {
    PumpMessages();
    ::RedrawWindow(window, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::GdiFlush();
    PumpMessages();
}

PixelGrab::PixelGrab(HWND window) : m_width(0), m_height(0) {
    RECT rc;
    ::GetClientRect(window, &rc);
    m_width = rc.right;
    m_height = rc.bottom;
    if (m_width <= 0 || m_height <= 0) return;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = m_width;
    bmi.bmiHeader.biHeight = -m_height;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HDC windowDc = ::GetDC(window);
    HBITMAP hbm = ::CreateDIBSection(windowDc, &bmi, DIB_RGB_COLORS, &bits, NULL, 0);
    HDC memoryDc = ::CreateCompatibleDC(windowDc);
    HGDIOBJ oldBitmap = ::SelectObject(memoryDc, hbm);
    ::BitBlt(memoryDc, 0, 0, m_width, m_height, windowDc, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* source = static_cast<const DWORD*>(bits);
    m_pixels.assign(source, source + static_cast<size_t>(m_width) * m_height);
    ::SelectObject(memoryDc, oldBitmap);
    ::DeleteDC(memoryDc);
    ::DeleteObject(hbm);
    ::ReleaseDC(window, windowDc);
    for (DWORD& px : m_pixels) px &= 0x00FFFFFF;
}

COLORREF PixelGrab::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    DWORD px = m_pixels[static_cast<size_t>(y) * m_width + x];
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

int PixelGrab::Count(const RECT& rc, COLORREF color) const {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (At(x, y) == color) ++n;
    return n;
}

void MouseMoveTo(int x, int y) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = (x * 65536 + cx - 1) / cx;
    input.mi.dy = (y * 65536 + cy - 1) / cy;
    ::SendInput(1, &input, sizeof(input));
    PumpMessages(40);
    POINT pt;
    if (::GetCursorPos(&pt) && (pt.x != x || pt.y != y)) {
        ::SetCursorPos(x, y);  // the scaled position missed by a pixel
        PumpMessages(40);
    }
    PumpMessages(40);
}

void MouseButton(bool down) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(input));
    PumpMessages(60);
}

POINT WindowCentre(HWND window) {
    RECT rc;
    ::GetWindowRect(window, &rc);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return pt;
}
