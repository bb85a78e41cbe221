// The relief patterns of the textured button's face, free of any window. Pixel values are
// colour indexes 0..255 into a table that runs from shadow (0) over face (128) to highlight
// (255). A grain source adds the "grain" noise, one value per call.
#pragma once

#include "controls/DibImage.h"
#include "controls/DibTypes.h"

class CGrainSource {
public:
    virtual ~CGrainSource() {}
    virtual int Next() = 0;
};

// Grain from the C library's rand(), as the program never seeds it: the same on every run.
// Values run from -grain to +grain: rand() / (32767 / max(2 * grain, 1)) - grain.
class CRandGrain : public CGrainSource {
public:
    explicit CRandGrain(BYTE nGrain);
    int Next() override;

private:
    int m_nGrain;
    int m_nDivisor;
};

enum {
    RELIEF_SOFT = 6,    // soft relief, lit from the top left
    RELIEF_RIMMED = 7,  // vertical relief with rounded side rims
};

// Fills an 8-bit image with pattern 6 or 7 and grain of strength nGrain. FALSE (the image left
// as it is) for another pattern or an image that is empty or not 8 bits deep. Pattern 7 draws
// its rims only on images at least 6 pixels wide and 2 high.
BOOL FillReliefPattern(CDibImage& image, UINT nPattern, int nGrain, CGrainSource& grain);
