// Owners of GDI objects: each CGdiObject deletes the object it holds exactly once, in its
// destructor or in DeleteObject. Copying is deleted; a handle that belongs to someone else (a
// window's font, a stock object) is borrowed through CTempGdiObject, which never deletes it.
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"

class CGdiObject {
public:
    CGdiObject() : m_hObject(NULL) {}
    virtual ~CGdiObject() { DeleteObject(); }

    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    // Takes ownership; FALSE (nothing taken) when a handle is already held or h is null.
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID pObject) const;

    HGDIOBJ m_hObject;

protected:
    // For the Create operations: owns h, or deletes it when the object cannot take it.
    BOOL AttachCreated(HGDIOBJ h);
};

class CBitmap : public CGdiObject {
public:
    BOOL CreateCompatibleBitmap(HDC hDC, int nWidth, int nHeight);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTW* pLogFont);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2);
    BOOL CreateRectRgnIndirect(LPCRECT pRect);
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    BOOL CreateSolidBrush(COLORREF cr);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

// A framework object over a handle it does not own, for the length of one scope.
template <class T>
class CTempGdiObject : public T {
public:
    explicit CTempGdiObject(HGDIOBJ h) { this->m_hObject = h; }
    ~CTempGdiObject() override { this->m_hObject = NULL; }
};
