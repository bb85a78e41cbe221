// The engine's side of `tools/bench install`: one install from a source folder into a target
// folder, reporting to a visible window with a progress bar that it steps for every
// UM_INSTALL_STEP, in a GetMessage loop as the install dialog's.
//   install_bench.exe [--paint-every-step] <source folder\> <target folder\>
// By default the bar is repainted from a 50 ms timer; with --paint-every-step each step
// invalidates it at once, so it is repainted between steps whenever the window thread is idle.
// Prints "steps <n> milliseconds <ms>": the worker's run from its start to its end, without the
// process's start-up and end. Returns 0 when the worker reported completion.
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "framework/Wnd.h"
#include "setup/SetupMessages.h"
#include "setup/SetupThread.h"

namespace {

const char WINDOW_CLASS[] = "PmInstallBench";
const UINT_PTR REPAINT_TIMER = 1;
const UINT REPAINT_MS = 50;

HWND g_hProgress = NULL;
bool g_bPaintEveryStep = false;
long g_nSteps = 0;
bool g_bDone = false;

void RepaintBar() {
    SendMessageA(g_hProgress, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_hProgress, NULL, TRUE);
    UpdateWindow(g_hProgress);
    SendMessageA(g_hProgress, WM_SETREDRAW, FALSE, 0);
}

LRESULT CALLBACK BenchWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case UM_INSTALL_STEP:
        ++g_nSteps;
        SendMessageA(g_hProgress, PBM_STEPIT, 0, 0);
        return 1;
    case UM_INSTALL_DONE:
        g_bDone = true;
        PostQuitMessage(0);
        return 1;
    case WM_CLOSE:  // the install was stopped at a prompt
        PostQuitMessage(1);
        return 0;
    case WM_TIMER:
        if (wParam == REPAINT_TIMER) RepaintBar();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    int nArg = 1;
    if (argc > 1 && strcmp(argv[1], "--paint-every-step") == 0) {
        g_bPaintEveryStep = true;
        ++nArg;
    }
    if (argc - nArg != 2) {
        fprintf(stderr, "usage: install_bench [--paint-every-step] <source folder\\> <target folder\\>\n");
        return 2;
    }
    InitCommonControls();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BenchWndProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = WINDOW_CLASS;
    RegisterClassA(&wc);
    CWnd window;
    window.m_hWnd = CreateWindowExA(0, WINDOW_CLASS, "install bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                    600, 120, NULL, NULL, wc.hInstance, NULL);
    g_hProgress = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 10, 10, 560, 20,
                                  window.m_hWnd, NULL, wc.hInstance, NULL);
    SendMessageA(g_hProgress, PBM_SETRANGE32, 0, 10040);
    SendMessageA(g_hProgress, PBM_SETSTEP, 1, 0);
    if (!g_bPaintEveryStep) {
        SendMessageA(g_hProgress, WM_SETREDRAW, FALSE, 0);
        SetTimer(window.m_hWnd, REPAINT_TIMER, REPAINT_MS, NULL);
    }

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    CSetupThread thread;
    thread.m_strSourceDir = argv[nArg];
    thread.m_strTargetDir = argv[nArg + 1];
    thread.m_pMainWnd = &window;
    thread.m_bAutoDelete = FALSE;
    if (!thread.CreateThread()) return 1;
    // Sent messages are handled inside GetMessage, as in the dialog's modal loop.
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    thread.WaitForExit();
    QueryPerformanceCounter(&end);
    printf("steps %ld milliseconds %.0f\n", g_nSteps,
           1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    return g_bDone ? 0 : 1;
}
