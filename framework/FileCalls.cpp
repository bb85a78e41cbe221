#include "framework/FileCalls.h"

#include "framework/WideText.h"

namespace {

// FALSE, with the error a wide call would have given for a name it cannot take.
BOOL Untranslatable() {
    ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return FALSE;
}

}  // namespace

BOOL AfxCopyFile(LPCSTR pszSource, LPCSTR pszTarget, BOOL bFailIfExists) {
    const CWideText source(pszSource);
    const CWideText target(pszTarget);
    if (!source.IsValid() || !target.IsValid()) return Untranslatable();
    return ::CopyFileW(source, target, bFailIfExists);
}

BOOL AfxDeleteFile(LPCSTR pszPath) {
    const CWideText path(pszPath);
    return path.IsValid() ? ::DeleteFileW(path) : Untranslatable();
}

BOOL AfxCreateDirectory(LPCSTR pszPath, LPSECURITY_ATTRIBUTES pSecurity) {
    const CWideText path(pszPath);
    return path.IsValid() ? ::CreateDirectoryW(path, pSecurity) : Untranslatable();
}

BOOL AfxRemoveDirectory(LPCSTR pszPath) {
    const CWideText path(pszPath);
    return path.IsValid() ? ::RemoveDirectoryW(path) : Untranslatable();
}

DWORD AfxGetFileAttributes(LPCSTR pszPath) {
    const CWideText path(pszPath);
    if (path.IsValid()) return ::GetFileAttributesW(path);
    Untranslatable();
    return INVALID_FILE_ATTRIBUTES;
}

BOOL AfxSetFileAttributes(LPCSTR pszPath, DWORD dwAttributes) {
    const CWideText path(pszPath);
    return path.IsValid() ? ::SetFileAttributesW(path, dwAttributes) : Untranslatable();
}

BOOL AfxMoveFileEx(LPCSTR pszSource, LPCSTR pszTarget, DWORD dwFlags) {
    const CWideText source(pszSource);
    const CWideText target(pszTarget);
    if (!source.IsValid() || !target.IsValid()) return Untranslatable();
    return ::MoveFileExW(source, pszTarget != NULL ? static_cast<LPCWSTR>(target) : NULL, dwFlags);
}

HANDLE AfxCreateFile(LPCSTR pszPath, DWORD dwAccess, DWORD dwShare, LPSECURITY_ATTRIBUTES pSecurity,
                     DWORD dwDisposition, DWORD dwFlags) {
    const CWideText path(pszPath);
    if (!path.IsValid()) {
        Untranslatable();
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(path, dwAccess, dwShare, pSecurity, dwDisposition, dwFlags, NULL);
}

HMODULE AfxLoadLibraryEx(LPCSTR pszPath, DWORD dwFlags) {
    const CWideText path(pszPath);
    if (!path.IsValid()) {
        Untranslatable();
        return NULL;
    }
    return ::LoadLibraryExW(path, NULL, dwFlags);
}

BOOL AfxGetSystemFolder(CString& strFolder) {
    WCHAR wszFolder[MAX_PATH];
    const UINT nLength = ::GetSystemDirectoryW(wszFolder, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH) return FALSE;
    return AfxWideToGbk(wszFolder, static_cast<int>(nLength), strFolder) && strFolder.GetLength() < MAX_PATH;
}

BOOL AfxGetFullPath(LPCSTR pszPath, CString& strFull) {
    const CWideText path(pszPath);
    if (!path.IsValid()) return Untranslatable();
    WCHAR wszFull[MAX_PATH];
    const DWORD nLength = ::GetFullPathNameW(path, MAX_PATH, wszFull, NULL);
    if (nLength == 0 || nLength >= MAX_PATH) return FALSE;
    return AfxWideToGbk(wszFull, static_cast<int>(nLength), strFull) && strFull.GetLength() < MAX_PATH;
}

BOOL AfxIsPlainFile(HANDLE hFile) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(hFile, &info)) return FALSE;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        ::SetLastError(ERROR_REPARSE_ATTRIBUTE_CONFLICT);
        return FALSE;
    }
    if (info.nNumberOfLinks != 1) {
        ::SetLastError(ERROR_TOO_MANY_LINKS);
        return FALSE;
    }
    return TRUE;
}
