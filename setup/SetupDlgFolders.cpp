// The install dialog's folders: where Setup runs from, where the add-on goes, and how many files
// the four install folders hold.
#include "framework/FileCalls.h"
#include "framework/FileFind.h"
#include "framework/ModulePath.h"
#include "framework/PathText.h"
#include "record/CopiedEntries.h"
#include "record/InstallFolder.h"
#include "setup/SetupDlg.h"

void CSetupDlg::FindFolders() {
    // The application object has made sure that the system gives the path whole.
    CString strModule;
    AfxGetModulePath(strModule);
    m_strSourceDir = PathWithTrailingBackslash(PathParent(strModule));
    m_strTargetDir = AfxGetFixedInstallFolder();
}

int CSetupDlg::CountInstallFiles() {
    int nTotal = 0;
    for (int i = 0; i < INSTALL_FOLDER_COUNT; ++i)
        nTotal += CountFiles(m_strSourceDir + g_apszInstallFolders[i], TRUE);
    return nTotal;
}

int CSetupDlg::CountFiles(CString strFolder, BOOL bRecurse) {
    strFolder.Trim();
    if (strFolder.IsEmpty()) return 0;
    // What the copy passes over without a step is not counted: links (CopiedEntries.h), also an
    // install folder that is one, and what lies below them.
    const DWORD dwAttributes = AfxGetFileAttributes(strFolder);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES &&
        CopiedEntryOf(dwAttributes, FALSE, TRUE) == COPIED_ENTRY_LINK)
        return 0;
    CFileFind finder;
    if (!finder.FindFile(JoinPath(strFolder, "*.*"))) return 0;
    int nCount = 0;
    BOOL bMore = TRUE;
    while (bMore) {
        bMore = finder.FindNextFile();
        const COPIED_ENTRY nEntry =
            CopiedEntryOf(finder.GetAttributes(), finder.IsDots(), finder.HasGbkName());
        if (nEntry == COPIED_ENTRY_NONE || nEntry == COPIED_ENTRY_LINK) continue;
        if (finder.IsDirectory()) {
            if (bRecurse && nEntry == COPIED_ENTRY_FOLDER)
                nCount += CountFiles(finder.GetFilePath(), bRecurse);
        } else {
            ++nCount;
        }
    }
    return nCount;
}
