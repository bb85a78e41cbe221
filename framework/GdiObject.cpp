#include "framework/GdiObject.h"

#include "framework/GdiOwnership.h"

BOOL CGdiObject::Attach(HGDIOBJ h) {
    return GdiObjectOwnership::Attach(m_hObject, h);
}

HGDIOBJ CGdiObject::Detach() {
    return GdiObjectOwnership::Detach(m_hObject);
}

BOOL CGdiObject::DeleteObject() {
    return GdiObjectOwnership::Delete(m_hObject);
}

BOOL CGdiObject::AttachCreated(HGDIOBJ h) {
    if (Attach(h)) return TRUE;
    if (h != NULL) ::DeleteObject(h);  // an object is already held: never leak the new one
    return FALSE;
}

int CGdiObject::GetObject(int nCount, LPVOID pObject) const {
    return m_hObject != NULL ? ::GetObjectW(m_hObject, nCount, pObject) : 0;
}

BOOL CBitmap::CreateCompatibleBitmap(HDC hDC, int nWidth, int nHeight) {
    if (m_hObject != NULL) return FALSE;
    return AttachCreated(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* pLogFont) {
    if (m_hObject != NULL) return FALSE;
    return AttachCreated(::CreateFontIndirectW(pLogFont));
}

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2) {
    if (m_hObject != NULL) return FALSE;
    return AttachCreated(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT pRect) {
    if (m_hObject != NULL) return FALSE;
    return AttachCreated(::CreateRectRgnIndirect(pRect));
}

BOOL CBrush::CreateSolidBrush(COLORREF cr) {
    if (m_hObject != NULL) return FALSE;
    return AttachCreated(::CreateSolidBrush(cr));
}
