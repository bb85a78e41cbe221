// Code page 936 (GBK) text helpers that do not depend on the host's locale.
//
// A byte 0x81..0xFE starts a double-byte character only when the next byte is a valid
// trail byte (0x40..0x7E or 0x80..0xFE). A lead byte before NUL, CR or LF therefore stands
// alone, so a damaged or cut character never swallows a line end.
//
// The search and compare functions take a pointer and a byte length: texts may hold NUL
// bytes and are never read beyond the given length.
#pragma once

#include "framework/BaseTypes.h"

BOOL MbcsIsLeadByte(unsigned char ch);
BOOL MbcsIsTrailByte(unsigned char ch);

// Length in bytes (1 or 2) of the character at pch, given nRemain bytes are readable
// there; 0 when nRemain <= 0.
int MbcsCharLength(const char* pch, int nRemain);

// First occurrence of pSub in pText at or after nStart, as a byte index, or -1.
// Only character starts are tried, stepping from nStart, and a match must end on a
// character boundary, so it never begins or ends inside a double-byte character.
// nStart < 0 counts as 0; nStart > nTextLength gives -1; an empty pSub matches at nStart.
int MbcsFind(const char* pText, int nTextLength, const char* pSub, int nSubLength, int nStart);

// First single-byte character ch at or after nStart (same start rules as MbcsFind), or -1.
// A trail byte equal to ch is never reported.
int MbcsFindChar(const char* pText, int nTextLength, char ch, int nStart);

// Last single-byte character ch in the text, or -1.
int MbcsReverseFindChar(const char* pText, int nTextLength, char ch);

// Character-wise comparison: a double-byte character compares as lead * 256 + trail.
// Returns -1, 0 or 1.
int MbcsCompare(const char* pA, int nLengthA, const char* pB, int nLengthB);

// As MbcsCompare with ASCII letters folded to lower case; double-byte characters are
// compared as whole, unfolded units.
int MbcsCompareNoCase(const char* pA, int nLengthA, const char* pB, int nLengthB);

// Copies at most nCount bytes of the NUL-terminated pSrc to pDst without splitting a
// double-byte character, and pads the rest of the nCount bytes with NUL (so, as with
// strncpy, pDst is terminated only when pSrc was shorter than nCount). Returns pDst.
char* MbcsCopyBytes(char* pDst, const char* pSrc, int nCount);
