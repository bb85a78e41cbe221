#include "controls/OffscreenDC.h"

COffscreenDC::COffscreenDC(CDC* pDC) : m_hOldBitmap(NULL), m_pDC(pDC), m_bDirect(FALSE) {
    pDC->GetClipBox(&m_rect);
    if (CreateCompatibleDC(pDC) &&
        m_bitmap.CreateCompatibleBitmap(pDC->m_hDC, m_rect.Width(), m_rect.Height())) {
        m_hOldBitmap = SelectObject(&m_bitmap);
        SetWindowOrg(m_rect.left, m_rect.top);
        return;
    }
    DeleteDC();
    m_hDC = pDC->m_hDC;
    m_bDirect = TRUE;
}

COffscreenDC::~COffscreenDC() {
    if (m_bDirect) {
        m_hDC = NULL;  // the target's own
        return;
    }
    m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                  SRCCOPY);
    SelectObject(m_hOldBitmap);
    // m_bitmap is deleted next, then the memory DC by ~CDC.
}
