// Windows on the virtual display for the control tests: a parent that records the clicks its
// buttons send, reading back what a window shows, and the real mouse.
#pragma once
#include <windows.h>

#include <vector>

#include "framework/Wnd.h"
#include "support/WindowHelpers.h"

// A visible top-level window at a fixed place, built on CWnd so that its children's colour
// queries and drawing are reflected to them.
class TestParent : public CWnd {
public:
    TestParent(int width = 400, int height = 300, int x = 40, int y = 40);
    ~TestParent() override;

    int clicks;  // BN_CLICKED notifications received

protected:
    afx_msg LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// Brings a window's painting up to date and lets GDI finish.
void Settle(HWND window);

// A copy of what a window's client area shows now, read from the screen.
class PixelGrab {
public:
    explicit PixelGrab(HWND window);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;  // CLR_INVALID outside
    // Number of pixels in a rectangle (clipped to the grab) that have colour color.
    int Count(const RECT& rc, COLORREF color) const;
    bool SameAs(const PixelGrab& other) const { return m_pixels == other.m_pixels; }

private:
    int m_width;
    int m_height;
    std::vector<DWORD> m_pixels;  // 0x00RRGGBB, top-down
};

// Real mouse input through SendInput, at screen coordinates.
void MouseMoveTo(int x, int y);
void MouseButton(bool down);
// The centre of a window, in screen coordinates.
POINT WindowCentre(HWND window);
