// The one operation of CDibImage that needs the platform.
#include <windows.h>

#include <cstddef>

#include "controls/DibImage.h"

static_assert(sizeof(CDibHeader) == sizeof(BITMAPINFOHEADER), "header layouts agree");
static_assert(offsetof(CDibHeader, biBitCount) == offsetof(BITMAPINFOHEADER, biBitCount), "");
static_assert(offsetof(CDibHeader, biSizeImage) == offsetof(BITMAPINFOHEADER, biSizeImage), "");
static_assert(offsetof(CDibHeader, biClrImportant) == offsetof(BITMAPINFOHEADER, biClrImportant), "");

BOOL CDibImage::Paint(HDC hDC, int x, int y) const {
    if (m_pBlock == NULL || hDC == NULL) return FALSE;
    ::SetStretchBltMode(hDC, COLORONCOLOR);
    ::SetDIBitsToDevice(hDC, x, y, static_cast<DWORD>(m_bih.biWidth), static_cast<DWORD>(m_bih.biHeight), 0,
                        0, 0, static_cast<UINT>(m_bih.biHeight), PixelData(),
                        reinterpret_cast<const BITMAPINFO*>(m_pBlock), DIB_RGB_COLORS);
    return TRUE;
}
