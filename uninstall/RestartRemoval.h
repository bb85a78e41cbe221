// Removal at the next restart, for when no removal batch can be written (a folder or an
// undeletable file named "\DelUS.bat", a read-only drive root, a drive that keeps no access
// rights): the system deletes the files, then the folder if it is empty by then.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"

// Registers the running executable, strRecordPath (unless empty) and the executable's folder, in
// this order, with MoveFileEx(MOVEFILE_DELAY_UNTIL_REBOOT). TRUE when the system took them all.
// Setup drops such requests for its folder before it installs again (PendingRemovals.h).
BOOL RemoveProgramAtRestart(const CString& strRecordPath);
