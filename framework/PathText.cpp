#include "framework/PathText.h"

#include "framework/Mbcs.h"

BOOL IsPathSeparator(char ch) {
    return ch == '\\' || ch == '/';
}

BOOL PathIsFull(const CString& strPath) {
    if (strPath.GetLength() < 3) return FALSE;
    const char chDrive = strPath[0];
    const BOOL bLetter = (chDrive >= 'A' && chDrive <= 'Z') || (chDrive >= 'a' && chDrive <= 'z');
    if (bLetter && strPath[1] == ':' && IsPathSeparator(strPath[2])) return TRUE;
    return strPath[0] == '\\' && strPath[1] == '\\';
}

BOOL PathEndsWithSeparator(const CString& strPath) {
    const char* pch = strPath;
    const int nLength = strPath.GetLength();
    int nLast = -1;
    for (int i = 0; i < nLength; i += MbcsCharLength(pch + i, nLength - i)) nLast = i;
    return nLast >= 0 && MbcsCharLength(pch + nLast, nLength - nLast) == 1 && IsPathSeparator(pch[nLast]);
}

CString PathWithTrailingBackslash(const CString& strPath) {
    return PathEndsWithSeparator(strPath) ? strPath : strPath + '\\';
}

CString JoinPath(const CString& strFolder, const CString& strName) {
    if (strFolder.GetLength() <= 2) return strName;
    if (PathEndsWithSeparator(strFolder)) return strFolder + strName;
    return strFolder + '\\' + strName;
}

CString PathParent(const CString& strPath) {
    const int nSlash = strPath.ReverseFind('\\');  // steps over double-byte characters
    if (nSlash < 0) return CString();
    if (nSlash == 2 && strPath[1] == ':') return strPath.Left(nSlash + 1);
    return strPath.Left(nSlash);
}

CString PathLastComponent(const CString& strPath) {
    return strPath.Mid(strPath.ReverseFind('\\') + 1);
}
