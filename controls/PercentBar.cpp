#include "controls/PercentBar.h"

#include <climits>
#include <cmath>

namespace {

// Truncation toward zero, held inside int (a far-off position must not overflow the cast).
int TruncateToInt(double dValue) {
    if (std::isnan(dValue)) return 0;
    if (dValue >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (dValue <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(dValue);
}

double Fraction(int nPos, int nLower, int nUpper) {
    return (static_cast<double>(nPos) - nLower) / (static_cast<double>(nUpper) - nLower);
}

}  // namespace

int PercentBarWidth(int nPos, int nLower, int nUpper, int nWidth) {
    if (nLower == nUpper) return 0;
    return TruncateToInt(nWidth * Fraction(nPos, nLower, nUpper));
}

int PercentDone(int nPos, int nLower, int nUpper) {
    if (nLower == nUpper) return 0;
    return TruncateToInt(Fraction(nPos, nLower, nUpper) * 100.0);
}
