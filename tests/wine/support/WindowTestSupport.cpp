#include "support/WindowTestSupport.h"

#include "framework/WndClass.h"

BEGIN_MESSAGE_MAP(CTestParent, CWnd)
    ON_MESSAGE(WM_COMMAND, OnCommand)
END_MESSAGE_MAP()

CTestParent::CTestParent(int nWidth, int nHeight, int x, int y) : m_nClicks(0) {
    LPCSTR pszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    CreateEx(0, pszClass, "controls test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, nWidth, nHeight,
             NULL, NULL);
    ::SetForegroundWindow(m_hWnd);
    Settle(m_hWnd);
}

CTestParent::~CTestParent() {
    DestroyWindow();
}

LRESULT CTestParent::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && lParam != 0) ++m_nClicks;
    return Default();
}

void Settle(HWND hWnd) {
    PumpMessages();
    ::RedrawWindow(hWnd, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::GdiFlush();
    PumpMessages();
}

CPixelGrab::CPixelGrab(HWND hWnd) : m_nWidth(0), m_nHeight(0) {
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    m_nWidth = rc.right;
    m_nHeight = rc.bottom;
    if (m_nWidth <= 0 || m_nHeight <= 0) return;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = m_nWidth;
    bmi.bmiHeader.biHeight = -m_nHeight;  // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HDC hdcWnd = ::GetDC(hWnd);
    HBITMAP hbm = ::CreateDIBSection(hdcWnd, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    HDC hdcMem = ::CreateCompatibleDC(hdcWnd);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hbm);
    ::BitBlt(hdcMem, 0, 0, m_nWidth, m_nHeight, hdcWnd, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* pSrc = static_cast<const DWORD*>(pBits);
    m_pixels.assign(pSrc, pSrc + static_cast<size_t>(m_nWidth) * m_nHeight);
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    ::DeleteObject(hbm);
    ::ReleaseDC(hWnd, hdcWnd);
    for (DWORD& px : m_pixels) px &= 0x00FFFFFF;
}

COLORREF CPixelGrab::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return CLR_INVALID;
    DWORD px = m_pixels[static_cast<size_t>(y) * m_nWidth + x];
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

int CPixelGrab::Count(const RECT& rc, COLORREF cr) const {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if (At(x, y) == cr) ++n;
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

void MouseButton(bool bDown) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = bDown ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(input));
    PumpMessages(60);
}

POINT WindowCentre(HWND hWnd) {
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return pt;
}
