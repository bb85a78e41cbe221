// The install record "Uninstall.log": one tagged line per undoable install action.
// In memory the record is one CString with LF line ends; the file layer turns LF into
// CR LF on writing and back on reading. Setup appends, Uninstall scans one kind at a time.
#pragma once

#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

// The kind number selects a tag; it never appears in the file.
enum RecordKind { RECORD_FILE = 0, RECORD_FOLDER = 1, RECORD_CONTROL = 2, RECORD_REGKEY = 3 };

// "File Copy: ", "Made Dir: ", "Reg Ctrl: ", "RegDB Key: "; NULL for any other kind.
const char* RecordTag(int nKind);

// Registry roots as written in a registry-key record: code "0".."4".
enum RecordHive {
    HIVE_CLASSES_ROOT = 0,
    HIVE_CURRENT_USER = 1,
    HIVE_LOCAL_MACHINE = 2,
    HIVE_USERS = 3,
    HIVE_OTHER = 4
};

const char* HiveCode(RecordHive hive);

// The whole text must be "0".."3"; anything else (also "4", "", "02") is HIVE_OTHER.
RecordHive HiveFromCode(const CString& strCode);

// Appends tag + value + LF.
void AppendRecord(CString& strRecord, int nKind, const CString& strValue);

// Appends "RegDB Key: " + hive code + "," + key path + LF.
void AppendRegKeyRecord(CString& strRecord, RecordHive hive, const CString& strKeyPath);

// Finds the next record of nKind at or after nPos. The tag is searched double-byte aware
// and anywhere in a line; the value runs from after the tag to the next LF or the end of
// the text, and nPos moves past that LF. The outputs are changed only on TRUE.
// Hardening against a damaged file:
//  - nPos < 0 counts as 0; nPos beyond the text gives FALSE;
//  - a record whose value holds a NUL byte is passed over, since the path handed to the
//    platform would end at the NUL and name a different file.
BOOL FindRecord(const CString& strRecord, int nKind, int& nPos, int& nValueStart, int& nValueLength);

int CountRecords(const CString& strRecord, int nKind);

// Splits a registry-key value at its first comma into hive and key path. FALSE when there
// is no comma; the uninstaller skips such a record.
BOOL SplitRegKeyValue(const CString& strValue, RecordHive& hive, CString& strKeyPath);
