#include "controls/PercentBar.h"

#include <gtest/gtest.h>

#include <climits>

TEST(PercentBarWidth, TruncatesTowardZero) {
    struct Row {
        int pos, lower, upper, width, expected;
    } rows[] = {
        {50, 0, 100, 201, 100},                              // 100.5
        {1, 0, 3, 600, 200},       {2, 0, 3, 100, 66},       // 66.67
        {150, 100, 200, 300, 150}, {-10, 0, 100, 200, -20},  // before the range: not clamped
        {-1, 0, 3, 100, -33},                                // -33.3 toward zero, not -34
        {300, 0, 100, 50, 150},                              // past the end: wider than the control
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.expected, PercentBarWidth(r.pos, r.lower, r.upper, r.width))
            << r.pos << " of " << r.lower << ".." << r.upper << " over " << r.width;
    }
}

TEST(PercentDone, TruncatesAndGoesPast100) {
    EXPECT_EQ(33, PercentDone(1, 0, 3));
    EXPECT_EQ(66, PercentDone(2, 0, 3));
    EXPECT_EQ(0, PercentDone(0, 0, 100));
    EXPECT_EQ(150, PercentDone(3, 0, 2));
    EXPECT_EQ(-33, PercentDone(-1, 0, 3));
}

TEST(PercentBar, EmptyAndReversedRanges) {
    EXPECT_EQ(0, PercentBarWidth(5, 7, 7, 100));
    EXPECT_EQ(0, PercentDone(5, 7, 7));
    EXPECT_FALSE(PercentRangeDrawable(7, 7));
    EXPECT_FALSE(PercentRangeDrawable(8, 7));
    EXPECT_TRUE(PercentRangeDrawable(6, 7));
}

// Far-off positions must neither overflow the subtraction nor the conversion back to int.
TEST(PercentBar, ExtremeValuesStayInRange) {
    EXPECT_EQ(INT_MAX, PercentBarWidth(INT_MAX, INT_MIN, INT_MIN + 1, 600));
    EXPECT_EQ(INT_MIN, PercentBarWidth(INT_MIN, INT_MAX - 1, INT_MAX, 600));
    EXPECT_EQ(600, PercentBarWidth(INT_MAX, INT_MIN, INT_MAX, 600));
    EXPECT_EQ(INT_MAX, PercentDone(INT_MAX, 0, 1));
}

// Stepping a 600-pixel bar through 10 000 positions moves its edge exactly 600 times.
TEST(PercentBar, BarEdgeMovesOncePerPixelOverManySteps) {
    int last = PercentBarWidth(0, 0, 10000, 600), moves = 0;
    for (int pos = 1; pos <= 10000; ++pos) {
        int width = PercentBarWidth(pos, 0, 10000, 600);
        EXPECT_GE(width, last);
        if (width != last) ++moves;
        last = width;
    }
    EXPECT_EQ(600, moves);
    EXPECT_EQ(600, last);
}
