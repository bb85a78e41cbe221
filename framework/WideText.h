// Where the programs' narrow texts meet the system. Every narrow text of the programs is GBK
// (code page 936), whatever language the machine runs for programs that are not Unicode: it
// reaches the system through the wide ("W") functions, converted here with code page 936 named,
// never the machine's own.
#pragma once
#include <windows.h>

#include <string>

#include "framework/NarrowString.h"

const UINT GBK_CODE_PAGE = 936;

// A GBK text as UTF-16, for the call it is made for: ::DeleteFileW(CWideText(strPath)).
// IsValid is FALSE when the bytes are not GBK throughout: a byte that is no character would become
// U+FFFD and name another file. The wide text is then empty.
class CWideText {
public:
    explicit CWideText(LPCSTR pszText);
    CWideText(LPCSTR pchText, int nLength);

    BOOL IsValid() const { return m_bValid; }
    operator LPCWSTR() const { return m_strText.c_str(); }
    const std::wstring& Text() const { return m_strText; }

private:
    void Convert(LPCSTR pchText, int nLength);

    std::wstring m_strText;
    BOOL m_bValid;
};

// A UTF-16 text (nLength characters, or up to its NUL when -1) as GBK. FALSE, and strText empty,
// when a character has no GBK form: no stand-in (such as '?') is ever made up for it.
BOOL AfxWideToGbk(LPCWSTR pwchText, int nLength, CString& strText);

// The same for a text that is only shown, never used as a name: a character GBK lacks becomes '?'.
CString AfxWideToGbkShown(LPCWSTR pwchText, int nLength);
