#include "controls/ReliefPattern.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

// Grain sources for the tests: none, a fixed value, or counting the calls.
class FixedGrain : public CGrainSource {
public:
    explicit FixedGrain(int initial = 0) : value(initial) {}
    int Next() override {
        ++calls;
        return value;
    }
    int value;
    int calls = 0;
};

// Index of picture pixel (x, r) where r is the stored row (0 = bottom), as the formulas count.
int At(const CDibImage& image, int x, int r) {
    return image.GetIndex(x, image.GetHeight() - 1 - r);
}

CDibImage* MakeFace(CDibImage& image, int width, int height) {
    image.Allocate(width, height, 8);
    image.FillIndex(0);
    return &image;
}

}  // namespace

// The worked values for a 72 x 23 face with grain strength 8, before grain.
TEST(ReliefPattern, RimmedPatternWorkedValues) {
    CDibImage face;
    MakeFace(face, 72, 23);
    FixedGrain none;
    ASSERT_TRUE(FillReliefPattern(face, RELIEF_RIMMED, 8, none));
    for (int x = 20; x < 52; ++x) {
        EXPECT_EQ(19, At(face, x, 0)) << "bottom row, column " << x;
        EXPECT_EQ(211, At(face, x, 22)) << "top row, column " << x;
    }
    const int middle = 11;
    std::vector<int> left, right;
    for (int x = 0; x < 72; ++x) {
        int v = At(face, x, middle);
        if (x < 36 && v != At(face, 36, middle)) left.push_back(v);
        if (x >= 36 && v != At(face, 36, middle)) right.push_back(v);
    }
    ASSERT_EQ(12u, left.size()) << "left rim on the middle row";
    EXPECT_EQ(247, left.front());
    EXPECT_EQ(130, left.back());
    ASSERT_EQ(11u, right.size()) << "right rim on the middle row";
    EXPECT_EQ(125, right.front());
    EXPECT_EQ(18, right.back());
    for (size_t i = 1; i < left.size(); ++i) EXPECT_LT(left[i], left[i - 1]) << "brightening toward the edge";
    for (size_t i = 1; i < right.size(); ++i)
        EXPECT_LT(right[i], right[i - 1]) << "darkening toward the edge";
    EXPECT_EQ(247, At(face, 0, 0)) << "the rims narrow to one pixel on the bottom row";
    EXPECT_EQ(19, At(face, 1, 0));
}

TEST(ReliefPattern, SoftPatternWorkedValues) {
    CDibImage face;
    MakeFace(face, 72, 23);
    FixedGrain none;
    ASSERT_TRUE(FillReliefPattern(face, RELIEF_SOFT, 8, none));
    EXPECT_EQ(247, face.GetIndex(0, 0)) << "top-left corner, clamped";
    EXPECT_EQ(8, face.GetIndex(71, 22)) << "bottom-right corner, clamped";
    EXPECT_EQ(128, At(face, 36, 11)) << "centre";
    for (int r = 0; r < 23; ++r)
        for (int x = 0; x < 72; ++x) {
            ASSERT_GE(At(face, x, r), 8);
            ASSERT_LE(At(face, x, r), 247);
        }
}

// The grain is added as a byte: it wraps instead of clamping. Pattern 6 draws one grain value
// per pixel, pattern 7 two: the count decides what a second button built later receives.
TEST(ReliefPattern, GrainIsAddedModulo256AndConsumedInAFixedCount) {
    CDibImage plain, grained;
    FixedGrain none, plus200(200);
    MakeFace(plain, 20, 10);
    MakeFace(grained, 20, 10);
    ASSERT_TRUE(FillReliefPattern(plain, RELIEF_SOFT, 8, none));
    ASSERT_TRUE(FillReliefPattern(grained, RELIEF_SOFT, 8, plus200));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ((plain.GetIndex(x, y) + 200) & 0xFF, grained.GetIndex(x, y)) << x << "," << y;
    EXPECT_EQ(200, plus200.calls);

    FixedGrain count;
    ASSERT_TRUE(FillReliefPattern(grained, RELIEF_RIMMED, 8, count));
    EXPECT_EQ(400, count.calls);
}

TEST(ReliefPattern, RandGrainStaysWithinTheStrength) {
    std::srand(1);
    CRandGrain grain(8);
    int min = 100, max = -100;
    for (int i = 0; i < 20000; ++i) {
        int n = grain.Next();
        min = n < min ? n : min;
        max = n > max ? n : max;
    }
    EXPECT_EQ(-8, min);
    EXPECT_EQ(8, max);

    std::srand(7);
    CRandGrain first(8);
    std::vector<int> a;
    for (int i = 0; i < 50; ++i) a.push_back(first.Next());
    std::srand(7);
    CRandGrain second(8);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(a[i], second.Next()) << "the same seed, the same grain";
}

TEST(ReliefPattern, RefusesUnknownPatternsAndOtherDepths) {
    CDibImage face, deep, empty;
    MakeFace(face, 10, 10);
    face.FillIndex(77);
    deep.Allocate(10, 10, 24);
    FixedGrain none;
    EXPECT_FALSE(FillReliefPattern(face, 5, 8, none));
    EXPECT_EQ(77, face.GetIndex(3, 3)) << "left as it was";
    EXPECT_FALSE(FillReliefPattern(deep, RELIEF_SOFT, 8, none));
    EXPECT_FALSE(FillReliefPattern(empty, RELIEF_SOFT, 8, none));
    EXPECT_EQ(0, none.calls);
}

// Pattern 7 divides by W / 6 and H * H / 4; tiny faces must not divide by zero.
TEST(ReliefPattern, TinyFacesAreFilledWithoutRims) {
    const int aSizes[][2] = {{5, 23}, {72, 1}, {1, 1}, {6, 2}, {0, 0}};
    for (const auto& size : aSizes) {
        CDibImage face;
        MakeFace(face, size[0], size[1]);
        FixedGrain none;
        EXPECT_TRUE(FillReliefPattern(face, RELIEF_RIMMED, 8, none)) << size[0] << "x" << size[1];
        EXPECT_TRUE(FillReliefPattern(face, RELIEF_SOFT, 8, none)) << size[0] << "x" << size[1];
    }
}
