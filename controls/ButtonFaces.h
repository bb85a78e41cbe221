// The six images of the textured button, built without any window: the normal, hot, pressed
// and disabled faces and the two dotted lines of the focus frame.
#pragma once

#include "controls/DibImage.h"
#include "controls/DibTypes.h"
#include "controls/ReliefPattern.h"

struct CFaceParams {
    int nWidth;  // the button's window size
    int nHeight;
    int nFocusInset;  // distance of the focus frame from the edges
    UINT nPattern;    // 6 or 7
    BYTE nGrain;
    BYTE nHotPercent;   // hot face: this far toward the highlight colour
    BYTE nTintPercent;  // every face: this far toward crTint
    COLORREF crTint;
    COLORREF crShadow;  // the system's button colours
    COLORREF crFace;
    COLORREF crHighlight;
};

struct CFaceImages {
    CDibImage* pFace;
    CDibImage* pPressed;
    CDibImage* pDisabled;
    CDibImage* pHot;
    CDibImage* pFocusH;
    CDibImage* pFocusV;
};

// The 256-entry table: 0 shadow, 1..127 toward face, 128 just past face, up to 255 highlight.
void SetReliefTable(CDibImage& image, COLORREF crShadow, COLORREF crFace, COLORREF crHighlight);

// Builds all six images. FALSE when an image could not be allocated (that image stays empty)
// or the pattern is unknown (the face then keeps a plain face-coloured fill).
BOOL BuildButtonFaces(const CFaceParams& params, const CFaceImages& images, CGrainSource& grain);
