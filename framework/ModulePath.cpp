#include "framework/ModulePath.h"

#include <windows.h>

BOOL AfxGetModulePath(CString& strPath) {
    char szPath[MAX_PATH];
    DWORD nLength = ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH) return FALSE;
    CString strFound(szPath, static_cast<int>(nLength));
    DWORD dwAttributes = ::GetFileAttributesA(strFound);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FALSE;
    strPath = strFound;
    return TRUE;
}
