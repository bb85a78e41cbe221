// COffscreenDC: a memory DC over the part of a target DC that needs painting (its clip box).
// Drawing goes to the memory bitmap in the target's logical (client) coordinates; the
// destructor copies the bitmap to the target with one BitBlt, so the screen never shows a
// half-drawn state. The memory DC and bitmap are made for the paint, or lent by a surface that
// the control keeps between paints. If they cannot be had, drawing goes to the target.
#pragma once
#include <windows.h>

#include "controls/OffscreenSurface.h"
#include "framework/Dc.h"
#include "framework/GdiObject.h"

class COffscreenDC : public CDC {
public:
    explicit COffscreenDC(CDC* pDC, COffscreenSurface* pSurface = NULL);
    ~COffscreenDC() override;

    const CRect& GetRect() const { return m_rect; }

private:
    BOOL UseOwnBitmap(CDC* pDC);

    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap;  // selected before m_bitmap; belongs to the memory DC
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bDirect;    // no memory DC: m_hDC is the target's
    BOOL m_bBorrowed;  // m_hDC is the target's or the surface's, not deleted here
};
