// Self-removal: "\DelUS.bat" in the root of the current drive, started hidden at idle priority.
#pragma once
#include <windows.h>

// Writes the batch for the running executable, which waits for the program's end and then tries
// at most nPasses times more (see RemovalBatchText.h), starts it with the program's end as its
// input and idle priority, and gives the calling thread and process high priority. FALSE when nothing was
// started: the executable's path is not known in full, the text does not fit, the batch's input cannot be
// made, the file cannot be made or written (a partly written batch is deleted, as a cut line could name
// another file) or the process not created.
BOOL StartRemovalBatch(int nPasses);
