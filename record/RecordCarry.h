// An upgrade keeps what earlier installs recorded. Setup writes its record anew; what only the
// record it replaces names (a file, folder or control of an earlier release that this release no
// longer has) would otherwise drop out of every record and stay in the install folder for good.
// So such records are carried into the new record, where the uninstall replays them with the rest.
// Free of the platform: whether a path still exists is the caller's to say.
#pragma once

#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

// Whether strPath still names a file or folder; pContext is the caller's.
typedef BOOL (*RecordPathExists)(const CString& strPath, void* pContext);

// Adds to strRecord the file, folder and control records of strEarlier whose value lies inside
// strInstallDir (which ends with a backslash; letter case aside), that strRecord does not name
// with the same kind, and that pfnExists says are still there. Registry key records are not
// carried. A value without its line end (a record cut off with its file) or with a "." or ".."
// component is not carried. File and control records go to the end in their earlier order; a
// folder record goes before the first folder record below it, so that the uninstall, which removes
// folders last record first, removes every folder after what it holds. Returns how many records
// were carried.
int CarryEarlierRecords(CString& strRecord, const CString& strEarlier, const CString& strInstallDir,
                        RecordPathExists pfnExists, void* pContext);
