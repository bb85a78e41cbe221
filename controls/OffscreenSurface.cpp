#include "controls/OffscreenSurface.h"

COffscreenSurface::COffscreenSurface() : m_hOldBitmap(NULL), m_nWidth(0), m_nHeight(0) {}

COffscreenSurface::~COffscreenSurface() {
    Release();
}

CDC* COffscreenSurface::Prepare(CDC* pDC, int nWidth, int nHeight) {
    if (m_dc.GetSafeHdc() != NULL && nWidth <= m_nWidth && nHeight <= m_nHeight) return &m_dc;
    Release();
    if (nWidth <= 0 || nHeight <= 0) return NULL;
    if (!m_dc.CreateCompatibleDC(pDC) || !m_bitmap.CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight)) {
        Release();
        return NULL;
    }
    m_hOldBitmap = m_dc.SelectObject(&m_bitmap);
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    return &m_dc;
}

void COffscreenSurface::Release() {
    if (m_hOldBitmap != NULL) m_dc.SelectObject(m_hOldBitmap);
    m_hOldBitmap = NULL;
    m_bitmap.DeleteObject();  // no longer selected: deletable
    m_dc.DeleteDC();
    m_nWidth = 0;
    m_nHeight = 0;
}
