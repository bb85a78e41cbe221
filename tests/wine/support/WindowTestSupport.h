// Windows on the virtual display for the control tests: a parent that records the clicks its
// buttons send, reading back what a window shows, and the real mouse.
#pragma once
#include <windows.h>

#include <vector>

#include "framework/Wnd.h"
#include "support/WindowHelpers.h"

// A visible top-level window at a fixed place, built on CWnd so that its children's colour
// queries and drawing are reflected to them.
class CTestParent : public CWnd {
public:
    CTestParent(int nWidth = 400, int nHeight = 300, int x = 40, int y = 40);
    ~CTestParent() override;

    int m_nClicks;  // BN_CLICKED notifications received

protected:
    afx_msg LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Brings a window's painting up to date and lets GDI finish.
void Settle(HWND hWnd);

// A copy of what a window's client area shows now, read from the screen.
class CPixelGrab {
public:
    explicit CPixelGrab(HWND hWnd);
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    COLORREF At(int x, int y) const;  // CLR_INVALID outside
    // Number of pixels in a rectangle (clipped to the grab) that have colour cr.
    int Count(const RECT& rc, COLORREF cr) const;
    bool SameAs(const CPixelGrab& other) const { return m_pixels == other.m_pixels; }

private:
    int m_nWidth;
    int m_nHeight;
    std::vector<DWORD> m_pixels;  // 0x00RRGGBB, top-down
};

// Real mouse input through SendInput, at screen coordinates.
void MouseMoveTo(int x, int y);
void MouseButton(bool bDown);
// The centre of a window, in screen coordinates.
POINT WindowCentre(HWND hWnd);
