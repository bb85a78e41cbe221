// Stands in for Uninstall.exe at its end: copied into a folder by the self-removal tests, it
// writes and starts the batch and exits, so that the batch can delete it.
//   RemovalProbe                      the worker with an empty record: no stages, then WriteRemovalBatch
//   RemovalProbe <passes> [<stay-ms> [<record> [lock]]]
//                                      the batch with that many passes after the end, the program
//                                      staying that long after starting it, deleting that record,
//                                      holding the install lock on as the uninstaller's does;
//                                      4 when starting the batch changed the program's priority
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "record/InstallLock.h"
#include "uninstall/RemovalBatch.h"
#include "uninstall/UninstallThread.h"

namespace {

// The batch waits on its input, so the program has no reason to take the processor from it.
bool KeptItsPriority(HANDLE hThread) {
    return GetPriorityClass(GetCurrentProcess()) == NORMAL_PRIORITY_CLASS &&
           (hThread == NULL || GetThreadPriority(hThread) == THREAD_PRIORITY_NORMAL);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc > 1) {
        CInstallLock lock;
        if (__argc > 4 && strcmp(__argv[4], "lock") == 0 && !lock.TryAcquire()) return 3;
        if (!StartRemovalBatch(__argc > 3 ? __argv[3] : "", atoi(__argv[1]), lock.Handle())) return 1;
        if (!KeptItsPriority(GetCurrentThread())) return 4;
        if (__argc > 2) Sleep(static_cast<DWORD>(atoi(__argv[2])));
        return 0;
    }
    CUninstallThread worker;
    if (!worker.CreateThread()) return 2;
    worker.WaitForExit();
    return KeptItsPriority(NULL) ? 0 : 4;
}
