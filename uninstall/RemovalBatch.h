// Self-removal: "\DelUS.bat" in the root of the current drive, started hidden at idle priority.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"

// Starts the system's command interpreter, hidden and at idle priority, with the program's end as
// its input and holding hInstallLock on (unless NULL), so that no install starts before the batch
// has ended; then writes the batch for the running executable, which the interpreter runs once the
// program has ended and which then tries at most nPasses times (see RemovalBatchText.h). The
// program's priority stays as it was. The batch deletes strRecordPath too, when that is not
// empty. FALSE when no batch will run: the executable's path is not known in full, the text does
// not fit, the drive keeps no access rights (anyone could change the batch), the interpreter's
// input cannot be made or the process not created, or the file cannot be made or written (a
// partly written batch is deleted, as a cut line could name another file; the waiting interpreter
// is ended unrun).
BOOL StartRemovalBatch(const CString& strRecordPath, int nPasses, HANDLE hInstallLock);
