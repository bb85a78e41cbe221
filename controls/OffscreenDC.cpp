#include "controls/OffscreenDC.h"

COffscreenDC::COffscreenDC(CDC* pDC, COffscreenSurface* pSurface)
    : m_hOldBitmap(NULL), m_pDC(pDC), m_bDirect(FALSE), m_bBorrowed(FALSE) {
    pDC->GetClipBox(&m_rect);
    CDC* pKept = pSurface != NULL ? pSurface->Prepare(pDC, m_rect.Width(), m_rect.Height()) : NULL;
    if (pKept != NULL) {
        m_hDC = pKept->m_hDC;
        m_bBorrowed = TRUE;
    } else if (!UseOwnBitmap(pDC)) {
        m_hDC = pDC->m_hDC;
        m_bDirect = TRUE;
        m_bBorrowed = TRUE;
        return;
    }
    SetWindowOrg(m_rect.left, m_rect.top);
}

BOOL COffscreenDC::UseOwnBitmap(CDC* pDC) {
    if (CreateCompatibleDC(pDC) &&
        m_bitmap.CreateCompatibleBitmap(pDC->m_hDC, m_rect.Width(), m_rect.Height())) {
        m_hOldBitmap = SelectObject(&m_bitmap);
        return TRUE;
    }
    DeleteDC();
    return FALSE;
}

COffscreenDC::~COffscreenDC() {
    if (!m_bDirect) {
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                      SRCCOPY);
    }
    if (m_hOldBitmap != NULL) SelectObject(m_hOldBitmap);
    // m_bitmap is deleted next, then a memory DC of our own by ~CDC.
    if (m_bBorrowed) m_hDC = NULL;
}
