// Device contexts. CDC owns a memory DC it created (DeleteDC); CPaintDC brackets BeginPaint and
// EndPaint; CClientDC pairs GetDC with ReleaseDC; CTempDC lends a DC that belongs to someone else
// (the one that comes with WM_ERASEBKGND or WM_CTLCOLOR*) and never releases it.
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"
#include "framework/Geometry.h"

class CGdiObject;
class CString;
class CWnd;

class CDC {
public:
    CDC() : m_hDC(NULL) {}
    virtual ~CDC() { DeleteDC(); }

    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    BOOL CreateCompatibleDC(CDC* pDC);  // null: compatible with the screen
    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL DeleteDC();

    HGDIOBJ SelectObject(CGdiObject* pObject);
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    HGDIOBJ SelectStockObject(int nIndex);
    int SelectClipRgn(HRGN hRgn);

    COLORREF SetTextColor(COLORREF cr);
    COLORREF SetBkColor(COLORREF cr);
    int SetBkMode(int nMode);
    int SetStretchBltMode(int nMode);

    CPoint SetWindowOrg(int x, int y);
    CPoint GetWindowOrg() const;
    BOOL LPtoDP(LPRECT pRect) const;
    int GetClipBox(LPRECT pRect) const;

    // Fills with a colour through ExtTextOut (the background colour is left set to cr).
    void FillSolidRect(LPCRECT pRect, COLORREF cr);
    int DrawText(LPCSTR pszText, int nCount, LPRECT pRect, UINT nFormat);
    int DrawText(const CString& strText, LPRECT pRect, UINT nFormat);
    BOOL DrawEdge(LPRECT pRect, UINT nEdge, UINT nFlags);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    COLORREF GetPixel(int x, int y) const;

    HDC m_hDC;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

class CTempDC : public CDC {
public:
    explicit CTempDC(HDC hDC) { m_hDC = hDC; }
    ~CTempDC() override { m_hDC = NULL; }
};
