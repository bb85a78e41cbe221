// Self-removal: "\DelUS.bat" in the root of the current drive, started hidden at idle priority.
#pragma once
#include <windows.h>

// Writes the batch for the running executable with a loop of at most nPasses passes (see
// RemovalBatchText.h), starts it suspended, gives it idle priority and the calling thread and
// process high priority, then lets it go. FALSE when nothing was started: the executable's path
// is not known in full, the text does not fit, or the file cannot be made or written (a partly
// written batch is deleted, as a cut line could name another file) or the process not created.
BOOL StartRemovalBatch(int nPasses);
