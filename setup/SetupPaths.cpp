#include "setup/SetupPaths.h"

#include "framework/Mbcs.h"

BOOL EndsWithSeparator(const CString& strPath) {
    const char* pch = strPath;
    int nLength = strPath.GetLength();
    int nLast = -1;
    for (int i = 0; i < nLength; i += MbcsCharLength(pch + i, nLength - i)) nLast = i;
    if (nLast < 0 || MbcsCharLength(pch + nLast, nLength - nLast) != 1) return FALSE;
    return pch[nLast] == '\\' || pch[nLast] == '/';
}

CString WithTrailingBackslash(const CString& strPath) {
    return EndsWithSeparator(strPath) ? strPath : strPath + '\\';
}

CString FolderOfModule(const CString& strModulePath) {
    int nSlash = strModulePath.ReverseFind('\\');
    return nSlash >= 0 ? strModulePath.Left(nSlash) : strModulePath;
}

CString InstallFolderForSystemRoot(CString strSystemRoot) {
    CString strDrive("C");
    strSystemRoot.Trim();
    if (strSystemRoot.GetLength() > 1) strDrive = strSystemRoot.Left(1);
    return strDrive + ":\\Program Files\\Kelvora\\Pindlemark";
}
