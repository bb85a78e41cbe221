// bench_paint_hook.dll: counts the WM_PAINT messages that one dialog control of another program
// handles. The driver installs both hooks on the program's UI thread with SetWindowsHookEx, which
// makes the system load this module into that program. A WM_PAINT reaches a window either from
// the message queue (GetMessage, seen by WH_GETMESSAGE) or sent directly by UpdateWindow or
// RedrawWindow(RDW_UPDATENOW) (seen by WH_CALLWNDPROC); each is counted once.
#include "PaintHook.h"

namespace {

PaintCounts* g_pCounts = NULL;
HANDLE g_hMapping = NULL;

bool IsCountedControl(HWND hWnd) {
    if (g_pCounts == NULL || GetDlgCtrlID(hWnd) != g_pCounts->controlId) return false;
    char szClass[32] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    return lstrcmpiA(szClass, "msctls_progress32") == 0;
}

}  // namespace

// In a block: clang-format 14 and 19 break the one-line form differently.
extern "C" {

__declspec(dllexport) LRESULT CALLBACK BenchGetMessageHook(int nCode, WPARAM wParam, LPARAM lParam) {
    const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
    // A message only looked at (PM_NOREMOVE) is taken again later: counted when removed.
    if (nCode == HC_ACTION && wParam == PM_REMOVE && pMsg->message == WM_PAINT &&
        IsCountedControl(pMsg->hwnd))
        InterlockedIncrement(&g_pCounts->queuedPaints);
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

__declspec(dllexport) LRESULT CALLBACK BenchCallWndProcHook(int nCode, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_PAINT && IsCountedControl(pMsg->hwnd))
        InterlockedIncrement(&g_pCounts->sentPaints);
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_hMapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, PM_PAINT_COUNTS_NAME);
        if (g_hMapping != NULL)
            g_pCounts = static_cast<PaintCounts*>(
                MapViewOfFile(g_hMapping, FILE_MAP_WRITE, 0, 0, sizeof(PaintCounts)));
        if (g_pCounts != NULL && GetCurrentProcessId() != g_pCounts->driverProcess)
            InterlockedExchange(&g_pCounts->loadedInTarget, 1);
    } else if (dwReason == DLL_PROCESS_DETACH) {
        if (g_pCounts != NULL) UnmapViewOfFile(g_pCounts);
        if (g_hMapping != NULL) CloseHandle(g_hMapping);
        g_pCounts = NULL;
        g_hMapping = NULL;
    }
    return TRUE;
}
