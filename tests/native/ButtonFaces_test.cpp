#include "controls/ButtonFaces.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

const COLORREF kShadow = MakeColor(128, 128, 128);
const COLORREF kFace = MakeColor(212, 208, 200);
const COLORREF kHighlight = MakeColor(255, 255, 255);

class NoGrain : public CGrainSource {
public:
    int Next() override { return 0; }
};

struct Faces {
    CDibImage face, pressed, disabled, hot, focusH, focusV;
    CFaceImages Images() { return {&face, &pressed, &disabled, &hot, &focusH, &focusV}; }
};

CFaceParams Params(int width, int height, UINT pattern = RELIEF_RIMMED) {
    CFaceParams params = {width, height, 4, pattern, 8, 10, 0, 0, kShadow, kFace, kHighlight};
    return params;
}

bool SameBlock(const CDibImage& a, const CDibImage& b) {
    return a.GetBlockSize() == b.GetBlockSize() && a.GetBlockSize() != 0 &&
           std::memcmp(a.GetBlock(), b.GetBlock(), a.GetBlockSize()) == 0;
}

bool SamePixels(const CDibImage& a, const CDibImage& b) {
    size_t n = static_cast<size_t>(a.GetRowStride()) * a.GetHeight();
    return n == static_cast<size_t>(b.GetRowStride()) * b.GetHeight() &&
           std::memcmp(a.PixelData(), b.PixelData(), n) == 0;
}

}  // namespace

TEST(ReliefTable, RunsFromShadowOverFaceToHighlight) {
    CDibImage image;
    ASSERT_NE(nullptr, image.Allocate(1, 1, 8));
    SetReliefTable(image, kShadow, kFace, kHighlight);
    EXPECT_EQ(kShadow, image.GetTableEntry(0));
    EXPECT_EQ(kHighlight, image.GetTableEntry(255));
    // Entry 128 comes from the second half: (127 face + highlight) / 128, per channel.
    EXPECT_EQ(MakeColor((127 * 212 + 255) / 128, (127 * 208 + 255) / 128, (127 * 200 + 255) / 128),
              image.GetTableEntry(128));
    EXPECT_EQ(MakeColor((127 * 212 + 128) / 128, (127 * 208 + 128) / 128, (127 * 200 + 128) / 128),
              image.GetTableEntry(127));
    EXPECT_EQ(
        MakeColor((64 * 212 + 64 * 128) / 128, (64 * 208 + 64 * 128) / 128, (64 * 200 + 64 * 128) / 128),
        image.GetTableEntry(64));
}

TEST(ButtonFaces, SizesAndTheFourFaces) {
    Faces faces;
    NoGrain none;
    ASSERT_TRUE(BuildButtonFaces(Params(72, 23), faces.Images(), none));
    EXPECT_EQ(72, faces.face.GetWidth());
    EXPECT_EQ(23, faces.face.GetHeight());
    EXPECT_EQ(63, faces.focusH.GetWidth()) << "W - 2K - 1";
    EXPECT_EQ(1, faces.focusH.GetHeight());
    EXPECT_EQ(1, faces.focusV.GetWidth());
    EXPECT_EQ(15, faces.focusV.GetHeight()) << "H - 2K";
    EXPECT_EQ(211, faces.face.GetIndex(36, 0)) << "pattern 7 in the face";

    EXPECT_TRUE(SameBlock(faces.face, faces.disabled)) << "disabled: the normal face";
    EXPECT_TRUE(SameBlock(faces.hot, faces.pressed)) << "pressed: the hot face";
    EXPECT_TRUE(SamePixels(faces.face, faces.hot));
    for (int i = 0; i < 256; ++i) {
        COLORREF faceColor = faces.face.GetTableEntry(i), hotColor = faces.hot.GetTableEntry(i);
        ASSERT_EQ(MakeColor((ColorRed(faceColor) * 90 + 255 * 10) / 100,
                            (ColorGreen(faceColor) * 90 + 255 * 10) / 100,
                            (ColorBlue(faceColor) * 90 + 255 * 10) / 100),
                  hotColor)
            << "hot entry " << i << ": 10 % toward the highlight";
    }
}

// The focus frame's dots alternate shadow (index 0) and highlight (255), starting with shadow at
// the left and at the bottom stored row.
TEST(ButtonFaces, FocusLinesAlternateShadowAndHighlight) {
    Faces faces;
    NoGrain none;
    ASSERT_TRUE(BuildButtonFaces(Params(20, 12), faces.Images(), none));
    ASSERT_EQ(11, faces.focusH.GetWidth());
    for (int x = 0; x < 11; ++x) EXPECT_EQ(x % 2 ? 255 : 0, faces.focusH.GetIndex(x, 0)) << x;
    ASSERT_EQ(4, faces.focusV.GetHeight());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(i % 2 ? 255 : 0, faces.focusV.PixelData()[i * faces.focusV.GetRowStride()]) << i;
    EXPECT_EQ(kShadow, faces.focusH.GetTableEntry(0));
    EXPECT_EQ(kHighlight, faces.focusV.GetTableEntry(255));
}

TEST(ButtonFaces, TintShareMovesEveryFaceButNotTheFocusLines) {
    Faces faces;
    NoGrain none;
    CFaceParams params = Params(30, 20);
    params.nTintPercent = 50;
    params.crTint = MakeColor(255, 0, 0);
    ASSERT_TRUE(BuildButtonFaces(params, faces.Images(), none));
    EXPECT_EQ(MakeColor((128 + 255) / 2, 64, 64), faces.face.GetTableEntry(0));
    EXPECT_EQ(faces.face.GetTableEntry(0), faces.disabled.GetTableEntry(0));
    EXPECT_EQ(kShadow, faces.focusH.GetTableEntry(0));
}

TEST(ButtonFaces, SmallButtonsKeepOnePixelFocusLines) {
    Faces faces;
    NoGrain none;
    ASSERT_TRUE(BuildButtonFaces(Params(6, 6), faces.Images(), none));
    EXPECT_EQ(1, faces.focusH.GetWidth());
    EXPECT_EQ(1, faces.focusV.GetHeight());
}

TEST(ButtonFaces, UnknownPatternGivesAPlainFace) {
    Faces faces;
    NoGrain none;
    EXPECT_FALSE(BuildButtonFaces(Params(30, 20, 3), faces.Images(), none));
    ASSERT_TRUE(faces.face.HasImage());
    EXPECT_EQ(128, faces.face.GetIndex(0, 0));
    EXPECT_EQ(128, faces.face.GetIndex(29, 19));
}

// Built twice from the same seed, the faces agree byte for byte; the grain changes them.
TEST(ButtonFaces, SameSeedSameFaces) {
    Faces first, second, plain;
    std::srand(1);
    CRandGrain grainA(8);
    ASSERT_TRUE(BuildButtonFaces(Params(72, 23), first.Images(), grainA));
    std::srand(1);
    CRandGrain grainB(8);
    ASSERT_TRUE(BuildButtonFaces(Params(72, 23), second.Images(), grainB));
    NoGrain none;
    ASSERT_TRUE(BuildButtonFaces(Params(72, 23), plain.Images(), none));
    EXPECT_TRUE(SameBlock(first.face, second.face));
    EXPECT_TRUE(SameBlock(first.hot, second.hot));
    EXPECT_FALSE(SamePixels(first.face, plain.face));
}
