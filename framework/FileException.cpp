#include "framework/FileException.h"

#include "framework/MessageBox.h"
#include "framework/SystemErrorText.h"

CFileException::CFileException(int nCause, LONG lOsError, LPCSTR pszFileName)
    : m_cause(nCause), m_lOsError(lOsError), m_strFileName(pszFileName) {}

int CFileException::OsErrorToException(LONG lOsError) {
    switch (lOsError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_DRIVE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE: return badSeek;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return generic;
    }
}

CString CFileException::GetErrorMessage() const {
    CString strSystem;
    if (m_lOsError > 0) strSystem = AfxGetSystemErrorText(static_cast<DWORD>(m_lOsError));
    strSystem.TrimRight();
    if (strSystem.IsEmpty()) strSystem.Format("文件错误 (%d)。", m_cause);
    CString strMessage;
    if (m_strFileName.IsEmpty())
        strMessage = strSystem;
    else
        strMessage.Format("%s\n%s", static_cast<LPCSTR>(m_strFileName), static_cast<LPCSTR>(strSystem));
    return strMessage;
}

int CFileException::ReportError(UINT nType, HWND hOwner) const {
    return AfxShowMessageBox(hOwner, GetErrorMessage(), NULL, nType);
}
