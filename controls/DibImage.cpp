#include "controls/DibImage.h"

#include <cstring>
#include <new>

namespace {

const uint32_t HEADER_SIZE = sizeof(CDibHeader);
const uint32_t MAX_BLOCK = 0x7FFFFFFF;  // what a DIB's image-size field and GDI accept

unsigned RoundDepth(unsigned nDepth) {
    uint16_t nDepth16 = static_cast<uint16_t>(nDepth);
    if (nDepth16 <= 1) return 1;
    if (nDepth16 <= 4) return 4;
    if (nDepth16 <= 8) return 8;
    return 24;
}

uint16_t ColorsForDepth(unsigned nDepth) {
    switch (nDepth) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

}  // namespace

CDibImage::CDibImage() : m_pBlock(NULL), m_bih(), m_nRowStride(0), m_nColors(0) {
    m_bih.biSize = HEADER_SIZE;
}

CDibImage::~CDibImage() {
    Free();
}

void CDibImage::Free() {
    delete[] m_pBlock;
    m_pBlock = NULL;
    std::memset(&m_bih, 0, sizeof(m_bih));
    m_bih.biSize = HEADER_SIZE;
    m_nRowStride = 0;
    m_nColors = 0;
}

unsigned char* CDibImage::Allocate(int nWidth, int nHeight, unsigned nDepth) {
    Free();
    if (nWidth < 0 || nHeight < 0) return NULL;
    unsigned nBits = RoundDepth(nDepth);
    uint64_t nRowBits = static_cast<uint64_t>(nWidth) * nBits + 31;
    if (nRowBits > 0xFFFFFFFFu) return NULL;
    uint32_t nStride = static_cast<uint32_t>(nRowBits / 32) * 4;
    uint16_t nColors = ColorsForDepth(nBits);
    uint64_t nImage = static_cast<uint64_t>(nStride) * static_cast<uint64_t>(nHeight);
    uint64_t nBlock = HEADER_SIZE + 4u * nColors + nImage;
    if (nBlock > MAX_BLOCK) return NULL;

    unsigned char* pBlock = new (std::nothrow) unsigned char[static_cast<size_t>(nBlock)];
    if (pBlock == NULL) return NULL;

    m_bih.biWidth = nWidth;
    m_bih.biHeight = nHeight;
    m_bih.biPlanes = 1;
    m_bih.biBitCount = static_cast<uint16_t>(nBits);
    m_bih.biCompression = 0;  // BI_RGB
    m_bih.biSizeImage = static_cast<uint32_t>(nImage);
    m_nRowStride = nStride;
    m_nColors = nColors;
    m_pBlock = pBlock;
    std::memcpy(m_pBlock, &m_bih, HEADER_SIZE);
    return m_pBlock;
}

size_t CDibImage::GetBlockSize() const {
    if (m_pBlock == NULL) return 0;
    return HEADER_SIZE + 4u * m_nColors + static_cast<size_t>(m_bih.biSizeImage);
}

unsigned char* CDibImage::PixelData() const {
    return m_pBlock != NULL ? ColorTable() + 4u * m_nColors : NULL;
}

void CDibImage::SetTableEntry(int nIndex, int nRed, int nGreen, int nBlue) {
    unsigned nEntry = static_cast<unsigned>(nIndex) & 0xFF;
    if (m_pBlock == NULL || nEntry >= m_nColors) return;
    unsigned char* pEntry = ColorTable() + 4 * nEntry;
    pEntry[0] = static_cast<unsigned char>(nBlue);
    pEntry[1] = static_cast<unsigned char>(nGreen);
    pEntry[2] = static_cast<unsigned char>(nRed);
    pEntry[3] = 0;
}

COLORREF CDibImage::GetTableEntry(int nIndex) const {
    if (m_pBlock == NULL || nIndex < 0 || nIndex >= m_nColors) return 0;
    const unsigned char* pEntry = ColorTable() + 4 * nIndex;
    return MakeColor(pEntry[2], pEntry[1], pEntry[0]);
}

void CDibImage::TintTable(COLORREF cr, int nPercent) {
    if (m_pBlock == NULL || m_nColors == 0) return;
    if (nPercent > 100) nPercent = 100;
    if (nPercent < 0) nPercent = 0;
    const int anTint[3] = {ColorBlue(cr), ColorGreen(cr), ColorRed(cr)};  // table order
    unsigned char* pEntry = ColorTable();
    for (unsigned i = 0; i < m_nColors; ++i, pEntry += 4) {
        for (int c = 0; c < 3; ++c) {
            pEntry[c] =
                static_cast<unsigned char>((pEntry[c] * (100 - nPercent) + anTint[c] * nPercent) / 100);
        }
    }
}

void CDibImage::PutIndex(int x, int y, int nValue) {
    // Only 8-bit rows hold one pixel a byte: elsewhere x would address past the row.
    if (m_pBlock == NULL || m_nColors == 0 || m_bih.biBitCount != 8) return;
    if (x < 0 || y < 0 || x >= m_bih.biWidth || y >= m_bih.biHeight) return;
    PixelData()[static_cast<size_t>(m_bih.biHeight - 1 - y) * m_nRowStride + x] =
        static_cast<unsigned char>(nValue);
}

BYTE CDibImage::GetIndex(int x, int y) const {
    if (m_pBlock == NULL || m_bih.biBitCount != 8) return 0;
    if (x < 0 || y < 0 || x >= m_bih.biWidth || y >= m_bih.biHeight) return 0;
    return PixelData()[static_cast<size_t>(m_bih.biHeight - 1 - y) * m_nRowStride + x];
}

void CDibImage::FillIndex(int nValue) {
    if (m_pBlock == NULL) return;
    std::memset(PixelData(), nValue & 0xFF, m_bih.biSizeImage);
}

void CDibImage::Duplicate(const CDibImage& source) {
    if (&source == this) return;
    if (source.m_pBlock == NULL) {  // a copy of nothing is empty
        Free();
        return;
    }
    if (Allocate(source.m_bih.biWidth, source.m_bih.biHeight, source.m_bih.biBitCount) == NULL) return;
    std::memcpy(m_pBlock, source.m_pBlock, source.GetBlockSize());
}
