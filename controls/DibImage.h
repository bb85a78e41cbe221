// CDibImage: one device-independent bitmap held as a single block, laid out as the platform's
// DIB functions take it: a 40-byte BITMAPINFOHEADER, the colour table (blue, green, red, 0 per
// entry), then the pixel rows bottom-up, each padded to a multiple of 4 bytes. Everything but
// Paint is free of the platform, so the layout is tested natively.
#pragma once

#include <cstddef>
#include <cstdint>

#include "controls/DibTypes.h"

struct HDC__;
typedef HDC__* HDC;  // as <windows.h> declares it

// Field for field the platform's BITMAPINFOHEADER.
struct CDibHeader {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(CDibHeader) == 40, "the header is 40 bytes, as the platform reads it");

class CDibImage {
public:
    CDibImage();
    ~CDibImage();

    CDibImage(const CDibImage&) = delete;
    CDibImage& operator=(const CDibImage&) = delete;

    // Replaces the picture: depth 1 or less gives 1 bit, 2..4 gives 4, 5..8 gives 8, more gives
    // 24 (the depth is read as 16 bits). Table and pixels are left unset. Null (and an empty
    // image) when the size is negative or too large, or the memory is not there.
    unsigned char* Allocate(int nWidth, int nHeight, unsigned nDepth);
    BOOL HasImage() const { return m_pBlock != NULL; }
    unsigned char* PixelData() const;  // the first stored, that is the bottom, row

    // Entry of the colour table at the low byte of nIndex; channels are stored as low bytes.
    void SetTableEntry(int nIndex, int nRed, int nGreen, int nBlue);
    // Moves every table entry nPercent (0..100, more counts as 100) toward cr, truncating.
    void TintTable(COLORREF cr, int nPercent);
    // 8-bit images: the index of pixel (x, y), y counted from the top of the picture.
    void PutIndex(int x, int y, int nValue);
    void FillIndex(int nValue);  // every byte of the pixel area, padding included
    void Duplicate(const CDibImage& source);

    // Copies the picture with its top-left corner at (x, y). FALSE when empty or hDC is null.
    BOOL Paint(HDC hDC, int x, int y) const;

    int GetWidth() const { return m_bih.biWidth; }
    int GetHeight() const { return m_bih.biHeight; }
    unsigned GetBitCount() const { return m_bih.biBitCount; }
    uint32_t GetRowStride() const { return m_nRowStride; }
    uint16_t GetColorCount() const { return m_nColors; }
    const CDibHeader& GetHeader() const { return m_bih; }
    const unsigned char* GetBlock() const { return m_pBlock; }
    size_t GetBlockSize() const;
    // Table entry nIndex as a COLORREF, for readers; 0 when there is none.
    COLORREF GetTableEntry(int nIndex) const;
    // Index of pixel (x, y) of an 8-bit image, y from the top; 0 outside.
    BYTE GetIndex(int x, int y) const;

private:
    void Free();
    unsigned char* ColorTable() const { return m_pBlock + sizeof(CDibHeader); }

    unsigned char* m_pBlock;
    CDibHeader m_bih;
    uint32_t m_nRowStride;
    uint16_t m_nColors;
};
