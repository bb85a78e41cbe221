#include "framework/Mbcs.h"

#include <cstring>

BOOL MbcsIsLeadByte(unsigned char ch) {
    return ch >= 0x81 && ch <= 0xFE;
}

BOOL MbcsIsTrailByte(unsigned char ch) {
    return (ch >= 0x40 && ch <= 0x7E) || (ch >= 0x80 && ch <= 0xFE);
}

int MbcsCharLength(const char* pch, int nRemain) {
    if (nRemain <= 0) return 0;
    if (nRemain >= 2 && MbcsIsLeadByte(static_cast<unsigned char>(pch[0])) &&
        MbcsIsTrailByte(static_cast<unsigned char>(pch[1])))
        return 2;
    return 1;
}

// Steps over the characters from nFrom; TRUE when one of them ends exactly at nTo.
static BOOL EndsOnBoundary(const char* pText, int nTextLength, int nFrom, int nTo) {
    int i = nFrom;
    while (i < nTo) i += MbcsCharLength(pText + i, nTextLength - i);
    return i == nTo;
}

int MbcsFind(const char* pText, int nTextLength, const char* pSub, int nSubLength, int nStart) {
    if (nStart < 0) nStart = 0;
    if (nStart > nTextLength) return -1;
    if (nSubLength <= 0) return nStart;

    for (int i = nStart; nTextLength - i >= nSubLength; i += MbcsCharLength(pText + i, nTextLength - i)) {
        if (pText[i] == pSub[0] && std::memcmp(pText + i, pSub, static_cast<size_t>(nSubLength)) == 0 &&
            EndsOnBoundary(pText, nTextLength, i, i + nSubLength))
            return i;
    }
    return -1;
}

int MbcsFindChar(const char* pText, int nTextLength, char ch, int nStart) {
    if (nStart < 0) nStart = 0;
    for (int i = nStart; i < nTextLength;) {
        int nChar = MbcsCharLength(pText + i, nTextLength - i);
        if (nChar == 1 && pText[i] == ch) return i;
        i += nChar;
    }
    return -1;
}

int MbcsReverseFindChar(const char* pText, int nTextLength, char ch) {
    // Characters can only be told apart from the front, so walk forward.
    int nFound = -1;
    for (int i = 0; i < nTextLength;) {
        int nChar = MbcsCharLength(pText + i, nTextLength - i);
        if (nChar == 1 && pText[i] == ch) nFound = i;
        i += nChar;
    }
    return nFound;
}

static unsigned int CharValue(const char* pch, int nChar, BOOL bFold) {
    if (nChar == 2)
        return (static_cast<unsigned int>(static_cast<unsigned char>(pch[0])) << 8) |
               static_cast<unsigned char>(pch[1]);
    unsigned int n = static_cast<unsigned char>(pch[0]);
    if (bFold && n >= 'A' && n <= 'Z') n += 'a' - 'A';
    return n;
}

static int CompareChars(const char* pA, int nLengthA, const char* pB, int nLengthB, BOOL bFold) {
    int a = 0;
    int b = 0;
    while (a < nLengthA && b < nLengthB) {
        int nCharA = MbcsCharLength(pA + a, nLengthA - a);
        int nCharB = MbcsCharLength(pB + b, nLengthB - b);
        unsigned int nValueA = CharValue(pA + a, nCharA, bFold);
        unsigned int nValueB = CharValue(pB + b, nCharB, bFold);
        if (nValueA != nValueB) return nValueA < nValueB ? -1 : 1;
        a += nCharA;
        b += nCharB;
    }
    if (a < nLengthA) return 1;
    if (b < nLengthB) return -1;
    return 0;
}

int MbcsCompare(const char* pA, int nLengthA, const char* pB, int nLengthB) {
    return CompareChars(pA, nLengthA, pB, nLengthB, FALSE);
}

int MbcsCompareNoCase(const char* pA, int nLengthA, const char* pB, int nLengthB) {
    return CompareChars(pA, nLengthA, pB, nLengthB, TRUE);
}

char* MbcsCopyBytes(char* pDst, const char* pSrc, int nCount) {
    int i = 0;
    while (i < nCount && pSrc[i] != '\0') {
        // pSrc[i] is not NUL, so pSrc[i + 1] exists (at worst it is the terminator).
        int nChar = MbcsCharLength(pSrc + i, 2);
        if (i + nChar > nCount) break;
        std::memcpy(pDst + i, pSrc + i, static_cast<size_t>(nChar));
        i += nChar;
    }
    for (; i < nCount; ++i) pDst[i] = '\0';
    return pDst;
}
