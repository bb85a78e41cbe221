// Where the programs' narrow texts meet the system. Every narrow text of the programs is GBK
// (code page 936), whatever language the machine runs for programs that are not Unicode: it
// reaches the system through the wide ("W") functions, converted here with code page 936 named,
// never the machine's own.
#pragma once
#include <windows.h>

#include <vector>

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
    // Always NUL-terminated.
    operator LPCWSTR() const { return &m_text[0]; }
    // In UTF-16 units, without the NUL.
    int GetLength() const { return static_cast<int>(m_text.size()) - 1; }

private:
    void Convert(LPCSTR pchText, int nLength);

    // A plain buffer rather than std::wstring: the library's prebuilt wide strings would add more
    // to each program than all of this conversion code.
    std::vector<WCHAR> m_text;
    BOOL m_bValid;
};

// A UTF-16 text (nLength characters, or up to its NUL when -1) as GBK. FALSE, and strText empty,
// when a character has no GBK form: no stand-in (such as '?') is ever made up for it.
BOOL AfxWideToGbk(LPCWSTR pwchText, int nLength, CString& strText);

// The same for a text that is only shown, never used as a name: a character GBK lacks becomes '?'.
CString AfxWideToGbkShown(LPCWSTR pwchText, int nLength);
