// CSetupThread: the install worker. Copies the install folders and loose files, registers the
// controls, writes the registry entries and, last, the install record, reporting to its main
// window (the install dialog) with SendMessage.
//
// The members are split over files by stage: SetupThread.cpp (the run sequence), DiskSpace.cpp
// (the room the install takes), FolderCopy.cpp, CopyFailure.cpp, RestartReplace.cpp (files in use)
// and FolderPath.cpp (files and folders), ControlRegistration.cpp, RegistryEntries.cpp,
// AcadRegistration.cpp and SetupThreadRecord.cpp.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"
#include "framework/StringArray.h"
#include "framework/WinThread.h"

// The install folders below the source folder, in the order they are copied and counted.
const int INSTALL_FOLDER_COUNT = 4;
extern const char* const g_apszInstallFolders[INSTALL_FOLDER_COUNT];
// Skipped among the loose files, whatever the running program is called.
extern const char INSTALLER_FILE_NAME[];

class CRoomCount;

struct AcadRelease;

class CSetupThread : public CWinThread {
public:
    CSetupThread();
    // Waits for a thread that still runs, before any member of this class is gone.
    ~CSetupThread() override;

    // The install runs in Run, which ends in the standard message loop once the quit it posts
    // itself arrives; InitInstance only says yes. (The uninstall worker, by its own design, works
    // in InitInstance.) Both reach their window only through MainWindowHandle.
    BOOL InitInstance() override;
    int Run() override;
    int ExitInstance() override;

    // Drops the system's requests to delete the target folder's files at the next restart
    // (RestartRemovalsCancel.cpp): the first step, before anything is copied.
    void CancelRemovalsAtRestart();

    // Before anything is copied: while what the copy writes does not fit the target volume's free
    // room, asks Retry or Cancel (DiskSpace.cpp). FALSE: the user stopped the install.
    BOOL EnsureRoomForCopy();

    // Files and folders. FALSE from CopyFolder, MakeFolderPath or CopyLooseFiles: the user stopped
    // the install.
    BOOL CopyFolder(const CString& strSource, const CString& strTarget);
    BOOL MakeFolderPath(const CString& strPath);
    BOOL CopyLooseFiles();
    void ListFiles(const CString& strFolder, const CString& strMask, CStringArray& arrNames);

    // Files in use (RestartReplace.cpp). After a failed copy over strTarget with dwError: a target
    // held by another program gets the new copy at the next restart. TRUE when strTarget exists
    // and is to be recorded, the new copy or the one an earlier install left.
    BOOL CopyFailedOver(const CString& strSource, const CString& strTarget, DWORD dwError);
    BOOL IsReplacedAtRestart(const CString& strTarget) const;
    BOOL RestartNeeded() const { return !m_arrReplacedAtRestart.IsEmpty(); }
    // A RunOnce value under HKEY_LOCAL_MACHINE: the system folder's regsvr32 registers the control
    // once the restart has put it in place.
    void RegisterAtRestart(const CString& strControl);

    // Controls: TRUE only when DllRegisterServer ran and returned S_OK.
    void RegisterControls();
    BOOL RegisterControl(const CString& strPath);

    // Registry: the product key, the uninstall entry and the CAD releases' application keys.
    void WriteRegistry();
    void RegisterAcadReleases();
    void RegisterAcadRelease(const AcadRelease& release);

    // Install record (record/): one line appended per action. The record of an earlier install,
    // read before anything is copied, gives what it names that this install does not (files,
    // folders, controls of an earlier release still in the install folder) to the new record.
    void ReadEarlierRecord();
    void AddFileRecord(const CString& strPath);
    void AddFolderRecord(const CString& strPath);
    void AddControlRecord(const CString& strPath);
    void AddRegKeyRecord(HKEY hRoot, const CString& strKeyPath);
    // Asks Abort, Retry or Ignore when the file cannot be written. FALSE: the user stopped there.
    BOOL WriteInstallRecord();

    CString m_strRecord;
    CString m_strEarlierRecord;  // the record this install replaces, as it was read; empty when none
    CString m_strSourceDir;      // ends with a backslash; set before the thread starts
    CString m_strTargetDir;      // ends with a backslash; set before the thread starts

private:
    CStringArray m_arrReplacedAtRestart;  // targets the next restart replaces

    // How one file's copy ended (CopyOneFile).
    enum CopyResult {
        COPY_DONE,     // the target is a whole copy
        COPY_FAILED,   // passed over without a word, as the design has it
        COPY_KEPT,     // not copied now, but the target stands, replaced at the next restart or left
                       // by an earlier install: recorded
        COPY_SKIPPED,  // the disk was full and the user chose Ignore: no target is left
        COPY_STOPPED,  // the disk was full and the user chose Abort
        COPY_AGAIN     // the disk was full and the user chose Retry
    };
    BOOL CopyInstallFolders();
    // Copies over an existing file of the same name, as a second install does; a full disk asks.
    CopyResult CopyOneFile(const CString& strSource, const CString& strTarget);
    // After a failed copy (CopyFailure.cpp): a full disk deletes what was written of the target and
    // asks Abort, Retry or Ignore; any other error is passed over.
    CopyResult AnswerCopyFailure(const CString& strTarget, DWORD dwError);
    // What the copy of the install folders and loose files takes, counted over the same entries.
    void CountFolderRoom(const CString& strSource, const CString& strTarget, BOOL bTargetExists,
                         CRoomCount& count);
    void CountLooseRoom(CRoomCount& count);
    // Makes one folder unless something of that name exists; asks the user when it fails.
    BOOL MakeFolder(const CString& strFolder);
    // Sends to the main window and waits until it has handled the message.
    void NotifyMainWnd(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // A prompt owned by the main window: the system's text for dwError, then the text of
    // pszFormat with strPath in its second %s. Returns the button pressed.
    int AskUser(const char* pszFormat, DWORD dwError, const CString& strPath, UINT nType);
};
