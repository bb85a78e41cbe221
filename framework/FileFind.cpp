#include "framework/FileFind.h"

#include <string.h>
#include <wchar.h>

#include "framework/WideText.h"

CFileFind::CFileFind() : m_bFoundGbk(FALSE), m_bHasNext(FALSE), m_bStarted(FALSE) {
    memset(&m_found, 0, sizeof m_found);
    memset(&m_next, 0, sizeof m_next);
}

CFileFind::~CFileFind() {}

void CFileFind::Close() {
    m_hFind.Close();
    m_bHasNext = FALSE;
    m_bStarted = FALSE;
    m_strRoot.Empty();
}

BOOL CFileFind::FindFile(LPCSTR pszPattern) {
    Close();
    CString strPattern(pszPattern != NULL ? pszPattern : "*.*");
    const CWideText pattern(strPattern);
    if (!pattern.IsValid()) {
        ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return FALSE;
    }
    m_hFind.Attach(::FindFirstFileW(pattern, &m_next));
    if (!m_hFind.IsValid()) return FALSE;
    m_bHasNext = TRUE;
    int nSlash = strPattern.ReverseFind('\\');
    int nForward = strPattern.ReverseFind('/');
    if (nForward > nSlash) nSlash = nForward;
    if (nSlash >= 0) {
        m_strRoot = strPattern.Left(nSlash + 1);
    } else if (strPattern.GetLength() >= 2 && strPattern[1] == ':') {
        m_strRoot = strPattern.Left(2);  // "C:*.*" searches the drive's current folder
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (!m_bHasNext) return FALSE;
    m_found = m_next;
    m_bStarted = TRUE;
    m_bFoundGbk = AfxWideToGbk(m_found.cFileName, -1, m_strFoundName);
    m_bHasNext = ::FindNextFileW(m_hFind, &m_next);
    return m_bHasNext;
}

BOOL CFileFind::HasGbkName() const {
    return m_bStarted && m_bFoundGbk;
}

CString CFileFind::GetFileName() const {
    return HasGbkName() ? m_strFoundName : CString();
}

CString CFileFind::GetFilePath() const {
    return HasGbkName() ? m_strRoot + m_strFoundName : CString();
}

DWORD CFileFind::GetAttributes() const {
    return m_bStarted ? m_found.dwFileAttributes : 0;
}

ULONGLONG CFileFind::GetLength() const {
    if (!m_bStarted) return 0;
    return (static_cast<ULONGLONG>(m_found.nFileSizeHigh) << 32) | m_found.nFileSizeLow;
}

BOOL CFileFind::IsDirectory() const {
    return m_bStarted && (m_found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL CFileFind::IsDots() const {
    if (!m_bStarted || !IsDirectory()) return FALSE;
    return wcscmp(m_found.cFileName, L".") == 0 || wcscmp(m_found.cFileName, L"..") == 0;
}
