#include "record/RecordFile.h"

#include <windows.h>

#include "framework/FailureTrace.h"
#include "framework/FileCalls.h"
#include "framework/PathText.h"
#include "framework/StdioFile.h"
#include "record/ProductKeys.h"
#include "record/RecordFormat.h"

BOOL WriteInstallRecordFile(const CString& strTargetDir, CString& strRecord, CFileException& error) {
    CString strPath = JoinPath(strTargetDir, RECORD_FILE_NAME);
    AppendRecord(strRecord, RECORD_FILE, strPath);
    if (AfxGetFileAttributes(strPath) != INVALID_FILE_ATTRIBUTES)
        AfxDeleteFile(strPath);  // replaced, never appended to
    try {
        CStdioFile file(strPath, CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeText);
        file.WriteString(strRecord);
        file.Close();
    } catch (const CFileException& e) {
        error = e;
        return FALSE;
    }
    if (!AfxSetFileAttributes(strPath, FILE_ATTRIBUTE_HIDDEN))
        AfxTraceFailure("SetFileAttributesW (hidden)", strPath, ::GetLastError());
    return TRUE;
}

BOOL ReadInstallRecordFile(const char* pszPath, CString& strRecord, CFileException& error) {
    try {
        CStdioFile file(pszPath, CStdioFile::modeRead | CStdioFile::typeText);
        ULONGLONG nLength = file.GetLength();
        if (nLength > 0x7FFFFFF0) {  // no record comes near this; refuse rather than overflow
            throw CFileException(CFileException::generic, ERROR_NOT_ENOUGH_MEMORY, pszPath);
        }
        UINT nBytes = static_cast<UINT>(nLength);
        char* pBuffer = strRecord.GetBuffer(static_cast<int>(nBytes));
        UINT nRead = file.Read(pBuffer, nBytes);
        strRecord.ReleaseBuffer(static_cast<int>(nRead));
        file.Close();
    } catch (const CFileException& e) {
        strRecord.Empty();
        error = e;
        return FALSE;
    }
    return TRUE;
}
