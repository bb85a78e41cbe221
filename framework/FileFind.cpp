#include "framework/FileFind.h"

#include <string.h>

CFileFind::CFileFind() : m_bHasNext(FALSE), m_bStarted(FALSE) {
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
    m_hFind.Attach(::FindFirstFileA(strPattern, &m_next));
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
    m_bHasNext = ::FindNextFileA(m_hFind, &m_next);
    return m_bHasNext;
}

CString CFileFind::GetFileName() const {
    return m_bStarted ? CString(m_found.cFileName) : CString();
}

CString CFileFind::GetFilePath() const {
    return m_bStarted ? m_strRoot + m_found.cFileName : CString();
}

DWORD CFileFind::GetAttributes() const {
    return m_bStarted ? m_found.dwFileAttributes : 0;
}

BOOL CFileFind::IsDirectory() const {
    return m_bStarted && (m_found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

BOOL CFileFind::IsDots() const {
    if (!m_bStarted || !IsDirectory()) return FALSE;
    return strcmp(m_found.cFileName, ".") == 0 || strcmp(m_found.cFileName, "..") == 0;
}
