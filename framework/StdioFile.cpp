#include "framework/StdioFile.h"

#include <string.h>

#include <vector>

#include "framework/FileCalls.h"

CStdioFile::CStdioFile() : m_bText(TRUE) {}

CStdioFile::CStdioFile(LPCSTR pszFileName, UINT nOpenFlags) : m_bText(TRUE) {
    CFileException error;
    if (!Open(pszFileName, nOpenFlags, &error)) throw error;
}

CStdioFile::~CStdioFile() {
    Abort();
}

BOOL CStdioFile::Open(LPCSTR pszFileName, UINT nOpenFlags, CFileException* pError) {
    Abort();
    m_strFileName = pszFileName;
    m_bText = (nOpenFlags & typeBinary) == 0;
    DWORD dwAccess = GENERIC_READ;
    if (nOpenFlags & modeWrite) dwAccess = GENERIC_WRITE;
    if (nOpenFlags & modeReadWrite) dwAccess = GENERIC_READ | GENERIC_WRITE;
    DWORD dwCreate = (nOpenFlags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    m_hFile.Attach(
        AfxCreateFile(pszFileName, dwAccess, FILE_SHARE_READ, NULL, dwCreate, FILE_ATTRIBUTE_NORMAL));
    if (m_hFile.IsValid()) return TRUE;
    if (pError != NULL) {
        LONG lError = static_cast<LONG>(::GetLastError());
        *pError = CFileException(CFileException::OsErrorToException(lError), lError, pszFileName);
    }
    return FALSE;
}

void CStdioFile::ThrowLastError() const {
    LONG lError = static_cast<LONG>(::GetLastError());
    throw CFileException(CFileException::OsErrorToException(lError), lError, m_strFileName);
}

void CStdioFile::Write(const void* pData, UINT nCount) {
    if (!m_hFile.IsValid()) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
    const char* p = static_cast<const char*>(pData);
    while (nCount > 0) {
        DWORD dwWritten = 0;
        if (!::WriteFile(m_hFile, p, nCount, &dwWritten, NULL)) ThrowLastError();
        if (dwWritten == 0) throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
        p += dwWritten;
        nCount -= dwWritten;
    }
}

void CStdioFile::WriteString(LPCSTR pszText) {
    size_t nLen = strlen(pszText);
    if (!m_bText) {
        Write(pszText, static_cast<UINT>(nLen));
        return;
    }
    std::vector<char> out;
    out.reserve(nLen + nLen / 16 + 16);
    for (size_t i = 0; i < nLen; ++i) {
        if (pszText[i] == '\n') out.push_back('\r');
        out.push_back(pszText[i]);
    }
    if (!out.empty()) Write(&out[0], static_cast<UINT>(out.size()));
}

UINT CStdioFile::Read(void* pBuffer, UINT nCount) {
    if (!m_hFile.IsValid()) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
    char* pOut = static_cast<char*>(pBuffer);
    UINT nRead = 0;
    while (nRead < nCount) {
        DWORD dwGot = 0;
        if (!::ReadFile(m_hFile, pOut + nRead, nCount - nRead, &dwGot, NULL)) ThrowLastError();
        if (dwGot == 0) break;
        nRead += dwGot;
    }
    if (!m_bText) return nRead;
    UINT nOut = 0;
    for (UINT i = 0; i < nRead; ++i) {
        if (pOut[i] == '\r' && i + 1 < nRead && pOut[i + 1] == '\n') continue;
        pOut[nOut++] = pOut[i];
    }
    return nOut;
}

ULONGLONG CStdioFile::GetLength() const {
    if (!m_hFile.IsValid()) throw CFileException(CFileException::invalidFile, -1, m_strFileName);
    LARGE_INTEGER size;
    size.QuadPart = 0;
    DWORD dwHigh = 0;
    size.LowPart = ::GetFileSize(m_hFile, &dwHigh);
    if (size.LowPart == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) ThrowLastError();
    size.HighPart = static_cast<LONG>(dwHigh);
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CStdioFile::Close() {
    if (!m_hFile.IsValid()) return;
    HANDLE h = m_hFile.Detach();
    if (!::CloseHandle(h)) ThrowLastError();
}

void CStdioFile::Abort() {
    m_hFile.Close();
}
