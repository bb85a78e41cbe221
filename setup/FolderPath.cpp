// CSetupThread::MakeFolderPath: makes sure every folder of a path exists, creating what is missing.
#include <string.h>

#include "framework/AdminOnlySecurity.h"
#include "framework/FileCalls.h"
#include "framework/FileFind.h"
#include "framework/Mbcs.h"
#include "framework/PathText.h"
#include "setup/SetupThread.h"

namespace {

// A folder cannot be created: the system's text for the error, then the folder.
// Retry (the default button) creates it again, Cancel stops the install.
const char FOLDER_PROMPT[] =
    "%s\n"
    "不能创建文件夹 %s ，\n"
    "点击“重试”按钮试图重新创建文件夹；\n"
    "点击“取消”按钮将终止程序运行。";
const UINT FOLDER_PROMPT_TYPE = MB_RETRYCANCEL | MB_ICONQUESTION;

// Where Program Files has another name (C:\Programme on a German XP), the folders made on the way
// would take the drive root's access, which lets every user add files beside Uninstall.exe and
// controls that the next Setup registers: what Setup makes gets its own access list instead.
// A folder that exists keeps its own.
BOOL MakeOneFolder(const char* pszFolder) {
    CAdminOnlySecurity security(ADMIN_ONLY_FOLDER);
    if (security.Get() == NULL) return FALSE;
    return AfxCreateDirectory(pszFolder, security.Get());
}

}  // namespace

BOOL CSetupThread::MakeFolderPath(const CString& strPath) {
    AddFolderRecord(strPath);  // first and in every case, also when the folder exists already

    // The prefixes are built in a buffer of MAX_PATH bytes. A longer path counts as a folder
    // that cannot be made, with the system's own reason; the system's ANSI file functions
    // could not take it either.
    const char* pszPath = strPath;
    const int nLength = static_cast<int>(strlen(pszPath));
    if (nLength >= MAX_PATH) {
        // Retry cannot change the length: the prompt comes back until the user cancels.
        while (AskUser(FOLDER_PROMPT, ERROR_FILENAME_EXCED_RANGE, strPath, FOLDER_PROMPT_TYPE) == IDRETRY) {
        }
        return FALSE;
    }
    // Mostly every folder above exists already: then one call makes the folder (or finds it)
    // without searching for each of them. Any other failure walks the path, which asks about
    // the first folder that cannot be made.
    if (MakeOneFolder(pszPath) || ::GetLastError() == ERROR_ALREADY_EXISTS) return TRUE;

    // Walked by characters, not bytes: a GBK trail byte may be 0x5C, the byte of '\'.
    // A separator ends a component, and so does the end of the path when no separator stands
    // before it; never at the start, nor right after a ':' ("C:" is no folder to make).
    char szPrefix[MAX_PATH];
    BOOL bAfterSeparator = FALSE;
    BOOL bAfterColon = FALSE;
    for (int i = 0;;) {
        const BOOL bEnd = pszPath[i] == '\0';
        // pszPath[i] is not NUL here, so pszPath[i + 1] is readable.
        const int nChar = bEnd ? 1 : MbcsCharLength(pszPath + i, 2);
        const BOOL bSeparator = !bEnd && nChar == 1 && IsPathSeparator(pszPath[i]);
        if ((bSeparator || (bEnd && !bAfterSeparator)) && i > 0 && !bAfterColon) {
            szPrefix[i] = '\0';
            if (!MakeFolder(szPrefix)) return FALSE;
        }
        if (bEnd) return TRUE;
        memcpy(szPrefix + i, pszPath + i, static_cast<size_t>(nChar));
        bAfterSeparator = bSeparator;
        bAfterColon = nChar == 1 && pszPath[i] == ':';
        i += nChar;
    }
}

BOOL CSetupThread::MakeFolder(const CString& strFolder) {
    CFileFind finder;
    if (finder.FindFile(strFolder)) return TRUE;  // a file of that name counts as existing
    while (!MakeOneFolder(strFolder)) {
        DWORD dwError = ::GetLastError();
        // The search can miss what exists (a folder whose parent may not be listed); asking
        // would only offer a Retry that cannot help.
        if (dwError == ERROR_ALREADY_EXISTS) return TRUE;
        if (AskUser(FOLDER_PROMPT, dwError, strFolder, FOLDER_PROMPT_TYPE) != IDRETRY) return FALSE;
    }
    return TRUE;
}
