#include "framework/ModulePath.h"

#include <windows.h>

#include "framework/FileCalls.h"
#include "framework/WideText.h"

namespace {

// The path as GBK, or its short form when a folder's name has no GBK form (a short name is
// ASCII, where the volume keeps short names).
BOOL GbkFormOf(LPCWSTR pwszPath, DWORD nLength, CString& strPath) {
    if (AfxWideToGbk(pwszPath, static_cast<int>(nLength), strPath)) return TRUE;
    WCHAR wszShort[MAX_PATH];
    const DWORD nShort = ::GetShortPathNameW(pwszPath, wszShort, MAX_PATH);
    return nShort != 0 && nShort < MAX_PATH && AfxWideToGbk(wszShort, static_cast<int>(nShort), strPath);
}

}  // namespace

BOOL AfxGetModulePath(CString& strPath) {
    WCHAR wszPath[MAX_PATH];
    DWORD nLength = ::GetModuleFileNameW(NULL, wszPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH) return FALSE;
    CString strFound;
    // Every path of the programs is at most MAX_PATH - 1 bytes of GBK.
    if (!GbkFormOf(wszPath, nLength, strFound) || strFound.GetLength() >= MAX_PATH) return FALSE;
    DWORD dwAttributes = AfxGetFileAttributes(strFound);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FALSE;
    strPath = strFound;
    return TRUE;
}
