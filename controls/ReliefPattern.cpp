#include "controls/ReliefPattern.h"

#include <algorithm>
#include <cstdlib>

CRandGrain::CRandGrain(BYTE nGrain)
    : m_nGrain(nGrain), m_nDivisor(32767 / std::max(2 * static_cast<int>(nGrain), 1)) {}

int CRandGrain::Next() {
    // The mask keeps 15 bits where RAND_MAX is larger than the platform's 32767.
    return (std::rand() & 0x7FFF) / m_nDivisor - m_nGrain;
}

namespace {

int Cube(int t) {
    return (t * t * t / 128) / 128;
}

unsigned char AddGrain(int nValue, CGrainSource& grain) {
    return static_cast<unsigned char>(nValue + grain.Next());  // byte arithmetic, modulo 256
}

void FillSoft(CDibImage& image, int g, CGrainSource& grain) {
    const int W = image.GetWidth(), H = image.GetHeight();
    for (int r = 0; r < H; ++r) {
        unsigned char* pRow = image.PixelData() + static_cast<size_t>(r) * image.GetRowStride();
        int ty = r * 255 / H - 127;
        for (int x = 0; x < W; ++x) {
            int tx = (W - x) * 255 / W - 127;
            int v = (Cube(tx) + Cube(ty)) * (128 - g) / 128 + 128;
            v = std::min(std::max(v, g), 255 - g);
            pRow[x] = AddGrain(v, grain);
        }
    }
}

void FillRimmed(CDibImage& image, int g, CGrainSource& grain) {
    const int W = image.GetWidth(), H = image.GetHeight();
    for (int r = 0; r < H; ++r) {
        unsigned char* pRow = image.PixelData() + static_cast<size_t>(r) * image.GetRowStride();
        int ty = r * 255 / H - 127;
        int v = Cube(ty) * (64 - g) * 2 / 128 + 128;
        for (int x = 0; x < W; ++x) pRow[x] = AddGrain(v, grain);
    }
    const int F = std::min(W / 6, 16), Q = H * H / 4, hh = H / 2, cw = W / 2;
    for (int r = 0; r < H; ++r) {
        unsigned char* pRow = image.PixelData() + static_cast<size_t>(r) * image.GetRowStride();
        int dr = r - hh;
        int J = (F > 0 && Q > 0) ? F * dr * dr / Q - F + cw : 0;
        for (int x = 0; x < W; ++x) {
            if (F > 0 && Q > 0) {
                int d = x - cw;
                if (d > J) pRow[x] = static_cast<unsigned char>((W - x) * 128 / F + g);
                if (d + J < 0) pRow[x] = static_cast<unsigned char>((255 - g) - x * 128 / F);
            }
            pRow[x] = AddGrain(pRow[x], grain);
        }
    }
}

}  // namespace

BOOL FillReliefPattern(CDibImage& image, UINT nPattern, int nGrain, CGrainSource& grain) {
    if (!image.HasImage() || image.GetBitCount() != 8) return FALSE;
    switch (nPattern) {
    case RELIEF_SOFT: FillSoft(image, nGrain, grain); return TRUE;
    case RELIEF_RIMMED: FillRimmed(image, nGrain, grain); return TRUE;
    default: return FALSE;
    }
}
