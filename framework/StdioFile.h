// CStdioFile: a file opened in text mode. Writing turns each LF into CR LF; reading turns each
// CR LF back into LF (a lone CR stays). Failures throw CFileException.
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"
#include "framework/FileException.h"
#include "framework/Handles.h"
#include "framework/NarrowString.h"

class CStdioFile {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };

    CStdioFile();
    // Opens or throws CFileException.
    CStdioFile(LPCSTR pszFileName, UINT nOpenFlags);
    // Closes without throwing; errors of an implicit close are lost, so callers Close().
    ~CStdioFile();

    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // FALSE on failure, with the details in *pError when given.
    BOOL Open(LPCSTR pszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    // Writes the text in one write; in text mode each LF goes out as CR LF.
    void WriteString(LPCSTR pszText);
    void Write(const void* pData, UINT nCount);
    // Reads up to nCount bytes of the file; in text mode CR LF pairs arrive as LF, so fewer
    // characters than bytes read can arrive. Returns the number of characters delivered.
    UINT Read(void* pBuffer, UINT nCount);
    ULONGLONG GetLength() const;
    void Close();
    void Abort();  // closes, ignoring errors
    BOOL IsOpen() const { return m_hFile.IsValid(); }

private:
    void ThrowLastError() const;

    CFileHandle m_hFile;
    BOOL m_bText;
    CString m_strFileName;
};
