#include "framework/NarrowString.h"

#include <cassert>
#include <cstdio>
#include <cstring>

#include "framework/Mbcs.h"

CString::CString() {}

CString::CString(const char* psz) {
    if (psz != NULL) m_str = psz;
}

CString::CString(const char* pch, int nLength) {
    if (pch != NULL && nLength > 0) m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(char ch, int nRepeat) {
    if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString::CString(const CString& strSrc) : m_str(strSrc.m_str) {}

CString& CString::operator=(const CString& strSrc) {
    m_str = strSrc.m_str;
    return *this;
}

CString& CString::operator=(const char* psz) {
    // psz may point into this string; std::string::assign copes with that.
    if (psz == NULL)
        m_str.clear();
    else
        m_str.assign(psz);
    return *this;
}

CString& CString::operator=(char ch) {
    m_str.assign(1, ch);
    return *this;
}

char CString::GetAt(int nIndex) const {
    assert(nIndex >= 0 && nIndex < GetLength());
    if (nIndex < 0 || nIndex >= GetLength()) return '\0';
    return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch) {
    assert(nIndex >= 0 && nIndex < GetLength());
    if (nIndex >= 0 && nIndex < GetLength()) m_str[static_cast<size_t>(nIndex)] = ch;
}

CString& CString::operator+=(const CString& str) {
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(const char* psz) {
    if (psz != NULL) m_str.append(psz);
    return *this;
}

CString& CString::operator+=(char ch) {
    m_str += ch;
    return *this;
}

int CString::Compare(const CString& str) const {
    return MbcsCompare(m_str.data(), GetLength(), str.m_str.data(), str.GetLength());
}

int CString::Compare(const char* psz) const {
    if (psz == NULL) psz = "";
    return MbcsCompare(m_str.data(), GetLength(), psz, static_cast<int>(std::strlen(psz)));
}

int CString::CompareNoCase(const CString& str) const {
    return MbcsCompareNoCase(m_str.data(), GetLength(), str.m_str.data(), str.GetLength());
}

int CString::CompareNoCase(const char* psz) const {
    if (psz == NULL) psz = "";
    return MbcsCompareNoCase(m_str.data(), GetLength(), psz, static_cast<int>(std::strlen(psz)));
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    if (nFirst < 0) nFirst = 0;
    if (nCount < 0) nCount = 0;
    if (nFirst >= GetLength()) return CString();
    // Compared this way round so that a huge nCount cannot overflow nFirst + nCount.
    if (nCount > GetLength() - nFirst) nCount = GetLength() - nFirst;
    return CString(m_str.data() + nFirst, nCount);
}

CString CString::Left(int nCount) const {
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const {
    if (nCount < 0) nCount = 0;
    if (nCount > GetLength()) nCount = GetLength();
    return CString(m_str.data() + (GetLength() - nCount), nCount);
}

int CString::Find(char ch, int nStart) const {
    if (nStart > GetLength()) return -1;
    return MbcsFindChar(m_str.data(), GetLength(), ch, nStart);
}

int CString::Find(const char* pszSub, int nStart) const {
    if (pszSub == NULL) pszSub = "";
    return MbcsFind(m_str.data(), GetLength(), pszSub, static_cast<int>(std::strlen(pszSub)), nStart);
}

int CString::ReverseFind(char ch) const {
    return MbcsReverseFindChar(m_str.data(), GetLength(), ch);
}

static BOOL IsSpaceByte(char ch) {
    // Not isspace(): that depends on the locale and may take 0x85 or 0xA0, both GBK trail bytes.
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

void CString::TrimLeft() {
    size_t n = 0;
    while (n < m_str.size() && IsSpaceByte(m_str[n])) ++n;
    m_str.erase(0, n);
}

void CString::TrimRight() {
    // Walk forward by characters: the end of the last non-blank character is kept.
    int nKeep = 0;
    for (int i = 0; i < GetLength();) {
        int nChar = MbcsCharLength(m_str.data() + i, GetLength() - i);
        if (nChar != 1 || !IsSpaceByte(m_str[static_cast<size_t>(i)])) nKeep = i + nChar;
        i += nChar;
    }
    m_str.resize(static_cast<size_t>(nKeep));
}

void CString::Trim() {
    TrimRight();
    TrimLeft();
}

BOOL CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    BOOL bOk = FormatV(pszFormat, args);
    va_end(args);
    return bOk;
}

BOOL CString::FormatV(const char* pszFormat, va_list args) {
    // Formatted into a separate buffer: the arguments may point into this string.
    std::string strOut(256, '\0');
    for (;;) {
        va_list argsCopy;
        va_copy(argsCopy, args);
        int n = std::vsnprintf(&strOut[0], strOut.size() + 1, pszFormat, argsCopy);
        va_end(argsCopy);
        if (n < 0) {
            m_str.clear();
            return FALSE;
        }
        if (static_cast<size_t>(n) <= strOut.size()) {
            strOut.resize(static_cast<size_t>(n));
            break;
        }
        strOut.resize(static_cast<size_t>(n));
    }
    m_str.swap(strOut);
    return TRUE;
}

char* CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufLength), '\0');
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0) {
        const void* pNul = std::memchr(m_str.data(), '\0', m_str.size());
        nNewLength =
            pNul != NULL ? static_cast<int>(static_cast<const char*>(pNul) - m_str.data()) : GetLength();
    }
    if (nNewLength < GetLength()) m_str.resize(static_cast<size_t>(nNewLength));
}

char* CString::GetBufferSetLength(int nNewLength) {
    if (nNewLength < 0) nNewLength = 0;
    m_str.resize(static_cast<size_t>(nNewLength), '\0');
    return &m_str[0];
}

CString operator+(const CString& s1, const CString& s2) {
    CString str(s1);
    str += s2;
    return str;
}

CString operator+(const CString& s1, const char* s2) {
    CString str(s1);
    str += s2;
    return str;
}

CString operator+(const char* s1, const CString& s2) {
    CString str(s1);
    str += s2;
    return str;
}

CString operator+(const CString& s1, char ch) {
    CString str(s1);
    str += ch;
    return str;
}

CString operator+(char ch, const CString& s2) {
    CString str(ch);
    str += s2;
    return str;
}
