// The install record on disk: "Uninstall.log", hidden, CR LF line ends.
#pragma once
#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

// Appends the record file's own file record to strRecord, replaces any earlier record file in
// strTargetDir and writes the text. On a file error shows the error's standard report and
// returns FALSE (the file is then missing or partial, and not hidden).
BOOL WriteInstallRecordFile(const CString& strTargetDir, CString& strRecord);

// Reads the whole record file into strRecord (CR LF back to LF). On a file error shows the
// error's standard report and returns FALSE.
BOOL ReadInstallRecordFile(const char* pszPath, CString& strRecord);
