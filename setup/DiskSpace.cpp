// CSetupThread::EnsureRoomForCopy: before the first copy, what the copy will write is weighed
// against the free room of the target volume, so that a disk too small is met before anything
// is written rather than in the middle of the copy.
#include <string.h>

#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "framework/FileFind.h"
#include "framework/PathText.h"
#include "framework/WideText.h"
#include "record/CopiedEntries.h"
#include "record/ProductKeys.h"
#include "record/RecordFormat.h"
#include "setup/RoomCount.h"
#include "setup/SetupThread.h"

namespace {

const char SEARCH_ALL[] = "*.*";
const char CONTROL_EXTENSION[] = ".ocx";

// The system's text for a full disk, the target folder, then the room needed and the room free.
// Retry (the default button) looks again, Cancel stops the install.
const char ROOM_PROMPT[] =
    "%s\n"
    "目标磁盘空间不足，不能安装到 %s ，\n"
    "需要 %s 磁盘空间，可用 %s；\n"
    "请释放磁盘空间后点击“重试”按钮重新检查；\n"
    "点击“取消”按钮将终止程序运行。";
const UINT ROOM_PROMPT_TYPE = MB_RETRYCANCEL | MB_ICONQUESTION;

// The length of an existing file, 0 when there is none (or it is a folder).
ULONGLONG ExistingLength(const CString& strPath) {
    const CWideText path(strPath);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path.IsValid() || !::GetFileAttributesExW(path, GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The allocation unit of the volume that holds the folder; 0 when the system does not say. The
// folder itself is asked first (another volume may be mounted on it, or on a folder above it);
// then the root of its volume, which older systems insist on.
ULONGLONG AllocationUnit(const CWideText& folder) {
    DWORD nSectorsPerCluster = 0, nBytesPerSector = 0, nFreeClusters = 0, nClusters = 0;
    if (::GetDiskFreeSpaceW(folder, &nSectorsPerCluster, &nBytesPerSector, &nFreeClusters, &nClusters))
        return static_cast<ULONGLONG>(nSectorsPerCluster) * nBytesPerSector;
    WCHAR wszRoot[MAX_PATH];
    if (!::GetVolumePathNameW(folder, wszRoot, MAX_PATH) ||
        !::GetDiskFreeSpaceW(wszRoot, &nSectorsPerCluster, &nBytesPerSector, &nFreeClusters, &nClusters))
        return 0;
    return static_cast<ULONGLONG>(nSectorsPerCluster) * nBytesPerSector;
}

// The room free to this user on the volume of strFolder, or of its nearest existing parent (the
// target folder does not exist before a first install). FALSE when no folder of the path answers.
BOOL FreeRoom(const CString& strFolder, ULONGLONG& nFree, ULONGLONG& nUnit) {
    CString strPath = strFolder;
    for (;;) {
        const CWideText path(PathWithTrailingBackslash(strPath));
        ULARGE_INTEGER available;
        if (path.IsValid() && ::GetDiskFreeSpaceExW(path, &available, NULL, NULL)) {
            nFree = available.QuadPart;
            nUnit = AllocationUnit(path);
            return TRUE;
        }
        const DWORD dwError = ::GetLastError();
        const CString strParent = PathParent(strPath);
        if (strParent.IsEmpty() || strParent == strPath) {
            AfxTraceFailure("GetDiskFreeSpaceExW", strFolder, dwError);
            return FALSE;
        }
        strPath = strParent;
    }
}

BOOL IsControlName(const CString& strName) {
    const int nExtension = static_cast<int>(sizeof CONTROL_EXTENSION) - 1;
    return strName.GetLength() > nExtension &&
           strName.Right(nExtension).CompareNoCase(CONTROL_EXTENSION) == 0;
}

int RecordLineLength(int nKind, const CString& strValue) {
    return static_cast<int>(strlen(RecordTag(nKind))) + strValue.GetLength();
}

}  // namespace

// The same entries as CopyFolder: a folder that cannot be searched adds nothing (its prompt comes
// with the copy), and a name without a GBK form is passed over. Below a target folder that does
// not exist (a first install) no file is replaced, and none is looked for.
void CSetupThread::CountFolderRoom(const CString& strSource, const CString& strTarget, BOOL bTargetExists,
                                   CRoomCount& count) {
    count.AddRecordLine(RecordLineLength(RECORD_FOLDER, strTarget));
    if (bTargetExists) {
        const DWORD dwAttributes = AfxGetFileAttributes(strTarget);
        bTargetExists = dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    CFileFind finder;
    if (!finder.FindFile(PathWithTrailingBackslash(strSource) + SEARCH_ALL)) return;
    BOOL bMore = TRUE;
    while (bMore) {
        bMore = finder.FindNextFile();
        // The entries the copy takes, and no others (a link, a name without a GBK form).
        const COPIED_ENTRY nEntry =
            CopiedEntryOf(finder.GetAttributes(), finder.IsDots(), finder.HasGbkName());
        if (nEntry != COPIED_ENTRY_FILE && nEntry != COPIED_ENTRY_FOLDER) continue;
        const CString strEntryTarget = JoinPath(strTarget, finder.GetFileName());
        if (nEntry == COPIED_ENTRY_FOLDER) {
            CountFolderRoom(finder.GetFilePath(), strEntryTarget, bTargetExists, count);
            continue;
        }
        count.AddFile(finder.GetLength(), bTargetExists ? ExistingLength(strEntryTarget) : 0);
        count.AddRecordLine(RecordLineLength(RECORD_FILE, strEntryTarget));
        // A control is recorded again when it is registered (counted wherever it lies: a line
        // too many at worst).
        if (IsControlName(finder.GetFileName()))
            count.AddRecordLine(RecordLineLength(RECORD_CONTROL, strEntryTarget));
    }
}

void CSetupThread::CountLooseRoom(CRoomCount& count) {
    CFileFind finder;
    if (!finder.FindFile(m_strSourceDir + SEARCH_ALL)) return;
    BOOL bMore = TRUE;
    while (bMore) {
        bMore = finder.FindNextFile();
        if (finder.IsDirectory() ||
            CopiedEntryOf(finder.GetAttributes(), FALSE, finder.HasGbkName()) != COPIED_ENTRY_FILE)
            continue;
        if (finder.GetFileName().CompareNoCase(INSTALLER_FILE_NAME) == 0) continue;
        const CString strTarget = m_strTargetDir + finder.GetFileName();
        count.AddFile(finder.GetLength(), ExistingLength(strTarget));
        count.AddRecordLine(RecordLineLength(RECORD_FILE, strTarget));
    }
}

BOOL CSetupThread::EnsureRoomForCopy() {
    for (;;) {
        ULONGLONG nFree = 0, nUnit = 0;
        // When the system gives no free room, the copy itself still asks should the disk fill.
        if (!FreeRoom(m_strTargetDir, nFree, nUnit)) return TRUE;
        CRoomCount count(nUnit);
        for (int i = 0; i < INSTALL_FOLDER_COUNT; ++i)
            CountFolderRoom(m_strSourceDir + g_apszInstallFolders[i],
                            m_strTargetDir + g_apszInstallFolders[i], TRUE, count);
        CountLooseRoom(count);
        // The registry keys' two lines and the record's own: a generous line each.
        const CString strRecordPath = JoinPath(m_strTargetDir, RECORD_FILE_NAME);
        for (int i = 0; i < 3; ++i)
            count.AddRecordLine(RecordLineLength(RECORD_FILE, strRecordPath) + MAX_PATH);
        count.SetReplacedRecord(ExistingLength(strRecordPath));
        if (count.Fits(nFree)) return TRUE;

        // The sizes go in first; AskUser fills the system's text and the folder into what is left.
        CString strFormat;
        strFormat.Format(ROOM_PROMPT, "%s", "%s", static_cast<const char*>(RoomText(count.Needed(), TRUE)),
                         static_cast<const char*>(RoomText(nFree, FALSE)));
        if (AskUser(strFormat, ERROR_DISK_FULL, m_strTargetDir, ROOM_PROMPT_TYPE) != IDRETRY) return FALSE;
    }
}
