// Stands in for Uninstall.exe at its end: copied into a folder by the self-removal tests, it
// writes and starts the batch and exits, so that the batch can delete it.
//   RemovalProbe                      the worker with an empty record: no stages, then WriteRemovalBatch
//   RemovalProbe <passes> [<stay-ms> [<record> [lock]]]
//                                      the batch with that many passes after the end, the program
//                                      staying that long after starting it, deleting that record,
//                                      holding the install lock on as the uninstaller's does
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "record/InstallLock.h"
#include "uninstall/RemovalBatch.h"
#include "uninstall/UninstallThread.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc > 1) {
        CInstallLock lock;
        if (__argc > 4 && strcmp(__argv[4], "lock") == 0 && !lock.TryAcquire()) return 3;
        if (!StartRemovalBatch(__argc > 3 ? __argv[3] : "", atoi(__argv[1]), lock.Handle())) return 1;
        if (__argc > 2) Sleep(static_cast<DWORD>(atoi(__argv[2])));
        return 0;
    }
    CUninstallThread worker;
    worker.m_bAutoDelete = FALSE;
    if (!worker.CreateThread()) return 2;
    worker.WaitForExit();
    return 0;
}
