// Geometry of the percentage bar, free of any window: how far the bar reaches and which
// percentage it reads. Both truncate toward zero, in double precision, as the drawing does.
#pragma once

// Width in pixels of the bar for a position in lower..upper over nWidth pixels. The position is
// not clamped, so it may exceed nWidth or be negative. 0 for an empty range (lower == upper).
int PercentBarWidth(int nPos, int nLower, int nUpper, int nWidth);

// The percentage shown for a position: 66 for 2 of 0..3; above 100 past the upper end.
// 0 for an empty range.
int PercentDone(int nPos, int nLower, int nUpper);

// Whether anything is drawn for the range: only when lower < upper.
inline bool PercentRangeDrawable(int nLower, int nUpper) {
    return nLower < nUpper;
}
