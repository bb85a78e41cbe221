// One installation at a time. Setup and Uninstall share one lock, held for the whole life of the
// process; the uninstaller hands it on to its removal batch, so that a Setup started while an old
// removal still waits or runs cannot lose its new files to it.
//
// The lock is a file in the Windows folder, opened without sharing and deleted when its last handle
// is closed. Only administrators may create files there, and the file is made with an access list
// of SYSTEM and the Administrators alone, so no standard user can make, open or hold it first (any
// user may create a named mutex in the Global namespace, also before an elevated program does).
// The system closes the handle on every kind of end; a file left by a power cut is simply opened
// again by the next program.
#pragma once
#include <windows.h>

#include "framework/Handles.h"

class CInstallLock {
public:
    CInstallLock() {}
    CInstallLock(const CInstallLock&) = delete;
    CInstallLock& operator=(const CInstallLock&) = delete;

    // TRUE when this object holds the lock now (also when it did already). FALSE when another
    // program holds it, or the lock cannot be had at all (dwError says which: ERROR_SHARING_VIOLATION
    // when another holds it).
    BOOL TryAcquire(DWORD* pdwError = NULL);
    BOOL IsHeld() const { return m_hFile.IsValid(); }
    // The lock's handle, for a child process that is to hold it on (made inheritable by the caller).
    HANDLE Handle() const { return m_hFile; }

private:
    CFileHandle m_hFile;
};

// Brings a window of a running Setup or Uninstall of another process to the front (its dialog, the
// uninstaller's confirmation, or whatever box either shows over them). TRUE when one was found.
BOOL ShowOtherInstallerWindow();

// A removal batch stands in the root of the system drive, where the uninstaller writes it (the
// root of its current drive, which Windows starts it on): its interpreter holds the lock to its end.
BOOL RemovalBatchStands();

// How long a holder of the lock that shows no window and has no removal batch is waited for before
// it is taken for what it then is: an interpreter left with nothing to run, its uninstaller ended
// before it wrote the batch. A program that starts shows its window well within this.
const DWORD IDLE_HOLDER_MS = 5000;
