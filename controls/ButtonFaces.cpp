#include "controls/ButtonFaces.h"

#include <algorithm>
#include <initializer_list>

namespace {

int Blend(int nFrom, int nTo, int nShareOfTo) {
    return ((128 - nShareOfTo) * nFrom + nShareOfTo * nTo) / 128;
}

}  // namespace

void SetReliefTable(CDibImage& image, COLORREF crShadow, COLORREF crFace, COLORREF crHighlight) {
    for (int i = 0; i <= 128; ++i) {
        image.SetTableEntry(i, Blend(ColorRed(crShadow), ColorRed(crFace), i),
                            Blend(ColorGreen(crShadow), ColorGreen(crFace), i),
                            Blend(ColorBlue(crShadow), ColorBlue(crFace), i));
    }
    for (int i = 1; i <= 128; ++i) {  // from 128 on: overwrites entry 128
        image.SetTableEntry(i + 127, Blend(ColorRed(crFace), ColorRed(crHighlight), i),
                            Blend(ColorGreen(crFace), ColorGreen(crHighlight), i),
                            Blend(ColorBlue(crFace), ColorBlue(crHighlight), i));
    }
}

BOOL BuildButtonFaces(const CFaceParams& params, const CFaceImages& images, CGrainSource& grain) {
    const int W = params.nWidth, H = params.nHeight, K = params.nFocusInset;
    BOOL bAllocated = images.pFocusH->Allocate(std::max(W - 2 * K - 1, 1), 1, 8) != NULL;
    bAllocated = images.pFocusV->Allocate(1, std::max(H - 2 * K, 1), 8) != NULL && bAllocated;
    bAllocated = images.pFace->Allocate(W, H, 8) != NULL && bAllocated;

    for (CDibImage* pImage : {images.pFace, images.pFocusH, images.pFocusV})
        SetReliefTable(*pImage, params.crShadow, params.crFace, params.crHighlight);
    images.pFace->TintTable(params.crTint, params.nTintPercent);

    for (int x = 0; x < images.pFocusH->GetWidth(); ++x) {
        images.pFocusH->PutIndex(x, 0, (x % 2 == 0) ? 0 : 255);
    }
    const int nFocusRows = images.pFocusV->GetHeight();
    for (int i = 0; i < nFocusRows; ++i) {  // stored row i is picture row nFocusRows - 1 - i
        images.pFocusV->PutIndex(0, nFocusRows - 1 - i, (i % 2 == 0) ? 0 : 255);
    }

    images.pFace->FillIndex(128);
    BOOL bPattern = FillReliefPattern(*images.pFace, params.nPattern, params.nGrain, grain);

    images.pDisabled->Duplicate(*images.pFace);
    images.pHot->Duplicate(*images.pFace);
    images.pHot->TintTable(params.crHighlight, params.nHotPercent);
    images.pPressed->Duplicate(*images.pHot);

    return bAllocated && bPattern && images.pDisabled->HasImage() && images.pHot->HasImage() &&
           images.pPressed->HasImage();
}
