// The file and folder calls of the programs, on GBK paths whatever the machine's language: each
// converts its paths with code page 936 (WideText.h) and calls the system's wide function. Each
// answers as the narrow function of the same name would; a path that is not GBK throughout fails
// with ERROR_NO_UNICODE_TRANSLATION and touches nothing.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"

BOOL AfxCopyFile(LPCSTR pszSource, LPCSTR pszTarget, BOOL bFailIfExists);
BOOL AfxDeleteFile(LPCSTR pszPath);
BOOL AfxCreateDirectory(LPCSTR pszPath, LPSECURITY_ATTRIBUTES pSecurity = NULL);
BOOL AfxRemoveDirectory(LPCSTR pszPath);
DWORD AfxGetFileAttributes(LPCSTR pszPath);  // INVALID_FILE_ATTRIBUTES on failure
BOOL AfxSetFileAttributes(LPCSTR pszPath, DWORD dwAttributes);
BOOL AfxMoveFileEx(LPCSTR pszSource, LPCSTR pszTarget, DWORD dwFlags);  // a null target deletes
HANDLE AfxCreateFile(LPCSTR pszPath, DWORD dwAccess, DWORD dwShare, LPSECURITY_ATTRIBUTES pSecurity,
                     DWORD dwDisposition, DWORD dwFlags);  // INVALID_HANDLE_VALUE on failure
HMODULE AfxLoadLibraryEx(LPCSTR pszPath, DWORD dwFlags);

// The open file is no reparse point (link, junction) and has no name but the one it was opened by.
// The handle needs FILE_READ_ATTRIBUTES. When FALSE, GetLastError says why (ERROR_TOO_MANY_LINKS,
// ERROR_REPARSE_ATTRIBUTE_CONFLICT, or why the system could not tell).
BOOL AfxIsPlainFile(HANDLE hFile);

// The system folder, with no trailing backslash. FALSE when the system cannot give it whole in GBK.
BOOL AfxGetSystemFolder(CString& strFolder);
// pszPath made full against the current folder and drive. FALSE when it does not fit MAX_PATH or
// cannot be written in GBK.
BOOL AfxGetFullPath(LPCSTR pszPath, CString& strFull);
