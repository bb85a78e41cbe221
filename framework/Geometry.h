// CPoint, CSize and CRect: the platform's POINT, SIZE and RECT with the few helpers the window
// and drawing code uses. Plain values; a CRect converts to the LPRECT and LPCRECT the API takes.
#pragma once
#include <windows.h>

class CPoint : public POINT {
public:
    CPoint() {
        x = 0;
        y = 0;
    }
    CPoint(int nX, int nY) {
        x = nX;
        y = nY;
    }
    CPoint(const POINT& pt) {
        x = pt.x;
        y = pt.y;
    }

    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    bool operator==(const POINT& pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(const POINT& pt) const { return !(*this == pt); }
};

class CSize : public SIZE {
public:
    CSize() {
        cx = 0;
        cy = 0;
    }
    CSize(int nCX, int nCY) {
        cx = nCX;
        cy = nCY;
    }
};

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& rc) {
        left = rc.left;
        top = rc.top;
        right = rc.right;
        bottom = rc.bottom;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }

    void SetRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
};
