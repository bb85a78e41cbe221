// CUninstallThread: the uninstall worker. Replays the install record kind by kind (controls,
// files, folders, registry keys), starts the self-removal batch and reports to its main window
// (the uninstall dialog) with SendMessage.
//
// Ending early: the dialog calls StopAndWait on its own thread when it ends while the worker
// runs. The worker finishes the record in hand and ends; what stays undone stays undone and no
// batch is written. While waiting, the dialog thread handles what the worker sends, so a worker
// blocked in SendMessage cannot deadlock it; once the stop is asked the worker sends nothing
// more. The worker has its main window's handle from its creation and never touches the window
// object again, and sending to a window that is already destroyed simply fails. Destroying the
// object stops and waits as well, so the record text never dies under a running worker.
#pragma once
#include <windows.h>

#include <atomic>

#include "framework/NarrowString.h"
#include "framework/StringArray.h"
#include "framework/WinThread.h"

class CUninstallThread : public CWinThread {
public:
    CUninstallThread();
    ~CUninstallThread() override;

    // All the work: the four stages, the batch, the completion message. Returns FALSE, so the
    // thread ends without a message loop. (The install worker, by its own design, works in Run.)
    BOOL InitInstance() override;
    int ExitInstance() override;

    // The stages, in the order InitInstance runs them. Each returns TRUE when m_bStop did not
    // end it early. Failures of single records are passed over.
    BOOL UnregisterControls();
    BOOL DeleteFiles();
    BOOL RemoveFolders();
    BOOL DeleteRegKeys();

    // Loads the control and calls its DllUnregisterServer: TRUE when that returned S_OK.
    BOOL UnregisterControl(const CString& strPath);

    // Starts the interpreter, holding the install lock, and writes "\DelUS.bat" (RemovalBatch.cpp):
    // TRUE when a waiting
    // interpreter will run it once the program has ended. Otherwise RemoveAtRestart registers the
    // program, the record and the folder for deletion at the next restart (RestartRemoval.cpp):
    // TRUE when the system took them. Virtual so that tests of the replay can run the worker
    // without deleting the test program; a class that overrides them must stop and wait in its
    // own destructor, before the overrides are gone.
    virtual BOOL WriteRemovalBatch();
    virtual BOOL RemoveAtRestart();

    // Files in use (RestartRemoval.cpp): a recorded file that another program holds is deleted at
    // the next restart, and so are the recorded folders that hold such a file, deepest first, and
    // last the install folder. TRUE when the system took the request.
    BOOL RemoveFileAtRestart(const CString& strPath, DWORD dwError);
    BOOL RemoveFolderAtRestart(const CString& strFolder);
    void RemoveInstallFolderAtRestart();
    BOOL FilesRemovedAtRestart() const { return !m_arrAtRestart.IsEmpty(); }

    // Asks the worker to end after the record in hand; safe from any thread.
    void Stop() { m_bStop = TRUE; }
    // Stop, then wait for the worker's end (see above). TRUE when it has ended.
    BOOL StopAndWait(DWORD dwMilliseconds = INFINITE);

    // Install record (record/). Called on the dialog thread before the worker starts. The file
    // read is the record file: the file stage leaves it, and it is deleted last, once the batch
    // that would delete it too waits to run, when the record names it; without a batch it stays.
    BOOL ReadInstallRecord(const CString& strPath);
    BOOL FindRecord(int nKind, int& nPos, int& nValueStart, int& nValueLength) const;
    int CountRecords(int nKind) const;

    std::atomic<BOOL> m_bStop;  // set when the dialog ends early; read by the worker
    HANDLE m_hInstallLock;      // the install lock, for the removal batch to hold on; may be NULL
    CString m_strRecord;

private:
    // The value of the next record of nKind from nPos, whole, as FindRecord delimits it.
    // bEnded is FALSE when the value runs into the end of the text instead of a line end: every
    // record is written with its line end, so such a value may be the piece of a longer one that
    // was cut off with the file (a full disk, a copy broken off) and must not be used.
    BOOL NextRecordValue(int nKind, int& nPos, CString& strValue, BOOL& bEnded) const;
    // Sends to the main window unless a stop was asked.
    void Notify(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // Whether strPath names the record file that was read (letter case aside).
    BOOL IsRecordFile(const CString& strPath) const;
    // The record file when the record names it (only then may it be deleted), else empty.
    CString RecordFileToRemove() const;
    void DeleteRecordFile();

    CString m_strRecordPath;      // the record file read by ReadInstallRecord
    CStringArray m_arrAtRestart;  // the files the next restart deletes
    BOOL m_bRecordListed;         // the file stage met its file record
};
