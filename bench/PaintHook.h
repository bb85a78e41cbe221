// The counts that bench_paint_hook.dll keeps, in a named shared memory block that the driver
// creates before it installs the hooks and reads when the program it watches is done.
#pragma once
#include <windows.h>

#define PM_PAINT_COUNTS_NAME "PmBenchPaintCounts"

struct PaintCounts {
    LONG controlId;       // set by the driver: the dialog control whose paints are counted
    DWORD driverProcess;  // set by the driver: its own process id
    LONG loadedInTarget;  // set by the hook module when a process other than the driver loads it
    LONG queuedPaints;    // WM_PAINT the control took from its thread's queue (GetMessage)
    LONG sentPaints;      // WM_PAINT sent to the control (UpdateWindow, RedrawWindow with RDW_UPDATENOW)
};
