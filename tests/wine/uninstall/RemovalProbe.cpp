// Stands in for Uninstall.exe at its end: copied into a folder by the self-removal tests, it
// writes and starts the batch and exits, so that the batch can delete it.
//   RemovalProbe            the worker with an empty record: no stages, then WriteRemovalBatch
//   RemovalProbe <passes>   the batch with a loop of that many passes
#include <windows.h>

#include <stdlib.h>

#include "uninstall/RemovalBatch.h"
#include "uninstall/UninstallThread.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc > 1) return StartRemovalBatch(atoi(__argv[1])) ? 0 : 1;
    CUninstallThread worker;
    worker.m_bAutoDelete = FALSE;
    if (!worker.CreateThread()) return 2;
    worker.WaitForExit();
    return 0;
}
