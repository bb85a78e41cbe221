// COffscreenDC: a memory DC over the part of a target DC that needs painting (its clip box).
// Drawing goes to the memory bitmap in the target's logical (client) coordinates; the
// destructor copies the bitmap to the target with one BitBlt, so the screen never shows a
// half-drawn state. If the memory DC or bitmap cannot be made, drawing goes to the target.
#pragma once
#include <windows.h>

#include "framework/Dc.h"
#include "framework/GdiObject.h"

class COffscreenDC : public CDC {
public:
    explicit COffscreenDC(CDC* pDC);
    ~COffscreenDC() override;

    const CRect& GetRect() const { return m_rect; }

private:
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap;  // selected before m_bitmap; belongs to the memory DC
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bDirect;  // no memory DC: m_hDC is the target's, borrowed
};
