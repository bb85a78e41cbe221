// CString: a narrow string of the system's code page (GBK), in the manner of the classic
// framework string class. The length is explicit, so the text may hold NUL bytes; the
// const char* view is always NUL-terminated (and then ends at the first NUL for C callers).
// Positions and lengths are byte counts.
// Unlike the classic class, == and != compare every byte, NULs included, and Format returns BOOL.
#pragma once

#include <cstdarg>
#include <string>

#include "framework/BaseTypes.h"

class CString {
public:
    CString();
    CString(const char* psz);               // null gives an empty string
    CString(const char* pch, int nLength);  // nLength bytes, NULs included
    CString(char ch, int nRepeat = 1);
    CString(const CString& strSrc);

    CString& operator=(const CString& strSrc);
    CString& operator=(const char* psz);
    CString& operator=(char ch);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    char operator[](int nIndex) const { return GetAt(nIndex); }
    operator const char*() const { return m_str.c_str(); }

    CString& operator+=(const CString& str);
    CString& operator+=(const char* psz);
    CString& operator+=(char ch);

    // Byte-wise equal (lengths and every byte, NULs included); a null psz is the empty text.
    BOOL Equals(const CString& str) const { return m_str == str.m_str; }
    BOOL Equals(const char* psz) const { return psz != NULL ? m_str == psz : m_str.empty(); }

    // Character-wise comparisons, -1, 0 or 1 (see Mbcs.h).
    int Compare(const CString& str) const;
    int Compare(const char* psz) const;
    int CompareNoCase(const CString& str) const;
    int CompareNoCase(const char* psz) const;

    // Out-of-range arguments are clamped: a negative first or count counts as 0, a first
    // past the end gives an empty string, a count past the end stops at the end.
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;

    // Double-byte aware searches (see Mbcs.h). nStart < 0 counts as 0; nStart beyond the
    // length gives -1. Results are byte indexes, -1 when not found.
    int Find(char ch, int nStart = 0) const;
    int Find(const char* pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;

    // White space is ' ', \t, \n, \v, \f and \r; none of them can be a GBK trail byte.
    void TrimLeft();
    void TrimRight();
    void Trim();

    // printf-style formatting of any length. FALSE (and an empty string) on a format error.
    BOOL Format(const char* pszFormat, ...);
    BOOL FormatV(const char* pszFormat, va_list args);

    // Writable buffer of at least nMinBufLength bytes plus a terminating NUL, holding the
    // current text. Call ReleaseBuffer before any other member; nNewLength -1 means up to
    // the first NUL in the buffer. Lengths beyond the buffer are clamped to it.
    char* GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);
    char* GetBufferSetLength(int nNewLength);

private:
    std::string m_str;
};

inline BOOL operator==(const CString& s1, const CString& s2) {
    return s1.Equals(s2);
}
inline BOOL operator==(const CString& s1, const char* s2) {
    return s1.Equals(s2);
}
inline BOOL operator==(const char* s1, const CString& s2) {
    return s2.Equals(s1);
}
inline BOOL operator!=(const CString& s1, const CString& s2) {
    return !s1.Equals(s2);
}
inline BOOL operator!=(const CString& s1, const char* s2) {
    return !s1.Equals(s2);
}
inline BOOL operator!=(const char* s1, const CString& s2) {
    return !s2.Equals(s1);
}

CString operator+(const CString& s1, const CString& s2);
CString operator+(const CString& s1, const char* s2);
CString operator+(const char* s1, const CString& s2);
CString operator+(const CString& s1, char ch);
CString operator+(char ch, const CString& s2);
