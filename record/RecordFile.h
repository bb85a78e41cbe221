// The install record on disk: "Uninstall.log", hidden, CR LF line ends.
#pragma once
// The record layer reads and writes; what the user is shown of a file error is for the caller.
#include "framework/BaseTypes.h"
#include "framework/FileException.h"
#include "framework/NarrowString.h"

// Appends the record file's own file record to strRecord, replaces any earlier record file in
// strTargetDir and writes the text. On a file error returns FALSE with the error in error (the
// file is then missing or partial, and not hidden).
BOOL WriteInstallRecordFile(const CString& strTargetDir, CString& strRecord, CFileException& error);

// Reads the whole record file into strRecord (CR LF back to LF). On a file error returns FALSE
// with the error in error, and strRecord empty.
BOOL ReadInstallRecordFile(const char* pszPath, CString& strRecord, CFileException& error);
