// CSetupThread's folder copy: the install folders depth first, the loose files next to Setup, and
// the listing of one folder's files.
#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "framework/FileFind.h"
#include "framework/PathText.h"
#include "framework/Timings.h"
#include "record/CopiedEntries.h"
#include "record/InstallFolder.h"
#include "record/RecordFormat.h"
#include "setup/SetupMessages.h"
#include "setup/SetupThread.h"

namespace {

const char SEARCH_ALL[] = "*.*";

// A source folder cannot be searched: the system's text for the error, then the folder.
// Abort (the default button) stops the install, Retry searches again, Ignore skips the folder.
const char PATH_PROMPT[] =
    "%s\n"
    "找不到安装文件的路径 %s，\n"
    "点击“重试”按钮试图重新查找该安装文件路径；\n"
    "点击“忽略”按钮将跳过该路径下的操作并继续执行；\n"
    "点击“取消”按钮将终止程序运行。";
const UINT PATH_PROMPT_TYPE = MB_ABORTRETRYIGNORE | MB_ICONQUESTION;

CTimedPart s_makeFolder("make_folder");
CTimedPart s_copyFile("copy_file");
CTimedPart s_setAttributes("set_attributes");
CTimedPart s_addRecord("add_record");
CTimedPart s_sendWait("send_wait");

// A file or folder whose name has no GBK form, in strFolder.
void PassOverNameWithoutGbkForm(const CString& strFolder) {
    AfxTraceFailure("copying an entry whose name GBK cannot hold, in", strFolder,
                    ERROR_NO_UNICODE_TRANSLATION);
}

// A junction or link in the folder searched: passed over like a name without GBK form.
void PassOverLink(const CFileFind& finder) {
    AfxTraceFailure("copying a link (reparse point), in", finder.GetRoot(), ERROR_REPARSE_ATTRIBUTE_CONFLICT);
}

// An install folder that is itself a link (standing in for a missing one) is passed over too.
BOOL IsLink(const CString& strPath) {
    const DWORD dwAttributes = AfxGetFileAttributes(strPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES &&
           CopiedEntryOf(dwAttributes, FALSE, TRUE) == COPIED_ENTRY_LINK;
}

}  // namespace

CSetupThread::CopyResult CSetupThread::CopyOneFile(const CString& strSource, const CString& strTarget) {
    for (;;) {
        {
            CTimedScope timed(s_copyFile);
            if (AfxCopyFile(strSource, strTarget, FALSE)) return COPY_DONE;
        }
        const DWORD dwError = ::GetLastError();
        AfxTraceFailure("CopyFileW", strTarget, dwError);
        const CopyResult result = AnswerCopyFailure(strTarget, dwError);
        if (result == COPY_FAILED)
            return CopyFailedOver(strSource, strTarget, dwError) ? COPY_KEPT : COPY_FAILED;
        if (result != COPY_AGAIN) return result;
    }
}

BOOL CSetupThread::CopyFolder(const CString& strSource, const CString& strTarget) {
    const CString strSearchDir = PathWithTrailingBackslash(strSource);
    const CString strPattern = strSearchDir + SEARCH_ALL;
    CFileFind finder;
    const BOOL bLink = IsLink(strSource);
    if (bLink) AfxTraceFailure("copying a link (reparse point)", strSource, ERROR_REPARSE_ATTRIBUTE_CONFLICT);
    BOOL bFound = !bLink && finder.FindFile(strPattern);
    while (!bFound && !bLink) {
        DWORD dwError = ::GetLastError();
        int nAnswer = AskUser(PATH_PROMPT, dwError, strSearchDir, PATH_PROMPT_TYPE);
        if (nAnswer == IDIGNORE) break;
        if (nAnswer != IDRETRY) return FALSE;
        bFound = finder.FindFile(strPattern);
    }

    // Also after Ignore: the target folder is made and recorded, and stays empty.
    {
        CTimedScope timed(s_makeFolder);
        if (!MakeFolderPath(strTarget)) return FALSE;
    }
    if (!bFound) return TRUE;

    BOOL bMore = TRUE;
    while (bMore) {
        bMore = finder.FindNextFile();
        const COPIED_ENTRY nEntry =
            CopiedEntryOf(finder.GetAttributes(), finder.IsDots(), finder.HasGbkName());
        if (nEntry == COPIED_ENTRY_NONE) continue;
        if (nEntry == COPIED_ENTRY_LINK) {
            PassOverLink(finder);  // not counted by the dialog either: no step
            continue;
        }
        const CString strEntrySource = finder.GetFilePath();
        const CString strEntryTarget = JoinPath(strTarget, finder.GetFileName());
        if (nEntry == COPIED_ENTRY_NO_GBK_NAME) {
            // The record cannot hold its name: passed over like a file that cannot be copied, so
            // that nothing is installed that the uninstall would not know of.
            PassOverNameWithoutGbkForm(strSearchDir);
        } else if (nEntry == COPIED_ENTRY_FOLDER) {
            if (!CopyFolder(strEntrySource, strEntryTarget)) return FALSE;
        } else {
            const CopyResult result = CopyOneFile(strEntrySource, strEntryTarget);
            if (result == COPY_STOPPED) return FALSE;
            if (result == COPY_DONE) {
                // The source's read-only, hidden and system marks are not kept.
                {
                    CTimedScope timed(s_setAttributes);
                    if (!AfxSetFileAttributes(strEntryTarget, FILE_ATTRIBUTE_NORMAL))
                        AfxTraceFailure("SetFileAttributesW", strEntryTarget, ::GetLastError());
                }
                CTimedScope timed(s_addRecord);
                AddFileRecord(strEntryTarget);
            } else if (result == COPY_KEPT) {
                AddFileRecord(strEntryTarget);
            }
        }
        // A file that could not be copied still advances the bar.
        CTimedScope timed(s_sendWait);
        NotifyMainWnd(UM_INSTALL_STEP, reinterpret_cast<WPARAM>(static_cast<const char*>(strEntrySource)),
                      reinterpret_cast<LPARAM>(static_cast<const char*>(strEntryTarget)));
    }
    return TRUE;
}

BOOL CSetupThread::CopyLooseFiles() {
    CStringArray arrNames;
    ListFiles(m_strSourceDir, SEARCH_ALL, arrNames);
    for (int i = 0; i < arrNames.GetSize(); ++i) {
        if (arrNames[i].CompareNoCase(INSTALLER_FILE_NAME) == 0) continue;
        const CString strTarget = m_strTargetDir + arrNames[i];
        const CopyResult result = CopyOneFile(m_strSourceDir + arrNames[i], strTarget);
        if (result == COPY_STOPPED) return FALSE;
        // Recorded whether the copy succeeded or not (an earlier install's file may stand there),
        // unless a full disk left no target.
        if (result != COPY_SKIPPED) AddFileRecord(strTarget);
    }
    return TRUE;
}

void CSetupThread::ListFiles(const CString& strFolder, const CString& strMask, CStringArray& arrNames) {
    arrNames.RemoveAll();
    // The folder goes into the pattern rather than becoming the process's current folder for
    // the time of the search: the listing is the same, and no other thread's relative paths
    // can be redirected meanwhile.
    CFileFind finder;
    if (!finder.FindFile(JoinPath(strFolder, strMask))) return;
    BOOL bMore = TRUE;
    while (bMore) {
        bMore = finder.FindNextFile();
        if (finder.IsDirectory()) continue;
        const COPIED_ENTRY nEntry = CopiedEntryOf(finder.GetAttributes(), FALSE, finder.HasGbkName());
        if (nEntry == COPIED_ENTRY_FILE)
            arrNames.Add(finder.GetFileName());
        else if (nEntry == COPIED_ENTRY_LINK)
            PassOverLink(finder);
        else
            PassOverNameWithoutGbkForm(PathWithTrailingBackslash(strFolder));
    }
}
