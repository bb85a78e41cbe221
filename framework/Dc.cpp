#include "framework/Dc.h"

#include <string.h>

#include "framework/GdiObject.h"
#include "framework/GdiOwnership.h"
#include "framework/NarrowString.h"
#include "framework/WideText.h"
#include "framework/Wnd.h"

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (m_hDC != NULL) return FALSE;
    m_hDC = ::CreateCompatibleDC(pDC != NULL ? pDC->m_hDC : NULL);
    return m_hDC != NULL;
}

BOOL CDC::Attach(HDC hDC) {
    return DcOwnership::Attach(m_hDC, hDC);
}

HDC CDC::Detach() {
    return DcOwnership::Detach(m_hDC);
}

BOOL CDC::DeleteDC() {
    return DcOwnership::Delete(m_hDC);
}

HGDIOBJ CDC::SelectObject(CGdiObject* pObject) {
    return pObject != NULL ? SelectObject(pObject->m_hObject) : NULL;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    return hObject != NULL ? ::SelectObject(m_hDC, hObject) : NULL;
}

HGDIOBJ CDC::SelectStockObject(int nIndex) {
    return SelectObject(::GetStockObject(nIndex));
}

int CDC::SelectClipRgn(HRGN hRgn) {
    return ::SelectClipRgn(m_hDC, hRgn);
}
COLORREF CDC::SetTextColor(COLORREF cr) {
    return ::SetTextColor(m_hDC, cr);
}
COLORREF CDC::SetBkColor(COLORREF cr) {
    return ::SetBkColor(m_hDC, cr);
}
int CDC::SetBkMode(int nMode) {
    return ::SetBkMode(m_hDC, nMode);
}
int CDC::SetStretchBltMode(int nMode) {
    return ::SetStretchBltMode(m_hDC, nMode);
}

CPoint CDC::SetWindowOrg(int x, int y) {
    POINT ptOld = {0, 0};
    ::SetWindowOrgEx(m_hDC, x, y, &ptOld);
    return CPoint(ptOld);
}

CPoint CDC::GetWindowOrg() const {
    POINT pt = {0, 0};
    ::GetWindowOrgEx(m_hDC, &pt);
    return CPoint(pt);
}

BOOL CDC::LPtoDP(LPRECT pRect) const {
    return ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(pRect), 2);
}

int CDC::GetClipBox(LPRECT pRect) const {
    return ::GetClipBox(m_hDC, pRect);
}

void CDC::FillSolidRect(LPCRECT pRect, COLORREF cr) {
    ::SetBkColor(m_hDC, cr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, pRect, NULL, 0, NULL);
}

int CDC::DrawText(LPCSTR pszText, int nCount, LPRECT pRect, UINT nFormat) {
    const CWideText text(pszText, nCount >= 0 ? nCount : static_cast<int>(strlen(pszText)));
    return ::DrawTextW(m_hDC, text, text.GetLength(), pRect, nFormat);
}

int CDC::DrawText(const CString& strText, LPRECT pRect, UINT nFormat) {
    return DrawText(strText, strText.GetLength(), pRect, nFormat);
}

BOOL CDC::DrawEdge(LPRECT pRect, UINT nEdge, UINT nFlags) {
    return ::DrawEdge(m_hDC, pRect, nEdge, nFlags);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC != NULL ? pSrcDC->m_hDC : NULL, xSrc, ySrc, dwRop);
}

COLORREF CDC::GetPixel(int x, int y) const {
    return ::GetPixel(m_hDC, x, y);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) {
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    if (m_hDC != NULL) ::EndPaint(m_hWnd, &m_ps);
    m_hDC = NULL;
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != NULL ? pWnd->m_hWnd : NULL) {
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC() {
    if (m_hDC != NULL) ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = NULL;
}
