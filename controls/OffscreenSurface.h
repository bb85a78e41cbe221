// COffscreenSurface: a memory DC and bitmap that a control keeps between its paints, so that a
// paint does not make and destroy them each time. It grows to the largest size asked for and is
// released with the control.
#pragma once
#include <windows.h>

#include "framework/Dc.h"
#include "framework/GdiObject.h"

class COffscreenSurface {
public:
    COffscreenSurface();
    ~COffscreenSurface();

    // The memory DC, compatible with pDC, with a bitmap of at least nWidth × nHeight selected;
    // NULL when they cannot be made. Owned by the surface.
    CDC* Prepare(CDC* pDC, int nWidth, int nHeight);
    void Release();

private:
    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap;  // selected before m_bitmap; belongs to m_dc
    int m_nWidth;
    int m_nHeight;

    COffscreenSurface(const COffscreenSurface&) = delete;
    COffscreenSurface& operator=(const COffscreenSurface&) = delete;
};
