#include "record/RecordCarry.h"

#include "framework/Mbcs.h"
#include "record/RecordFormat.h"

namespace {

const int CARRIED_KINDS[] = {RECORD_CONTROL, RECORD_FILE, RECORD_FOLDER};

// strValue lies below strFolder (which ends with a backslash), letter case aside. The folder is
// compared byte by byte up to its length: it ends with a single-byte character, so a match there
// ends on a character boundary of the value.
BOOL IsBelow(const CString& strValue, const CString& strFolder) {
    const int nLength = strFolder.GetLength();
    return strValue.GetLength() > nLength && strValue.Left(nLength).CompareNoCase(strFolder) == 0;
}

// A "." or ".." component could lead out of the install folder.
BOOL HasDotComponent(const CString& strValue) {
    const char* pText = strValue;
    const int nLength = strValue.GetLength();
    int nStart = 0;
    for (int i = 0; i <= nLength;) {
        const BOOL bEnd = i == nLength;
        const int nChar = bEnd ? 1 : MbcsCharLength(pText + i, nLength - i);
        if (bEnd || (nChar == 1 && (pText[i] == '\\' || pText[i] == '/'))) {
            const CString strPart(pText + nStart, i - nStart);
            if (strPart == "." || strPart == "..") return TRUE;
            nStart = i + 1;
        }
        i += nChar;
    }
    return FALSE;
}

BOOL IsRecorded(const CString& strRecord, int nKind, const CString& strValue) {
    int nPos = 0;
    int nStart = 0;
    int nLength = 0;
    while (FindRecord(strRecord, nKind, nPos, nStart, nLength)) {
        if (CString(static_cast<const char*>(strRecord) + nStart, nLength).CompareNoCase(strValue) == 0)
            return TRUE;
    }
    return FALSE;
}

// Where a carried folder's line goes: before the first folder record below it, else at the end.
int FolderInsertPosition(const CString& strRecord, const CString& strFolder) {
    const CString strBelow = strFolder + "\\";
    int nPos = 0;
    int nStart = 0;
    int nLength = 0;
    while (FindRecord(strRecord, RECORD_FOLDER, nPos, nStart, nLength)) {
        if (IsBelow(CString(static_cast<const char*>(strRecord) + nStart, nLength), strBelow)) {
            // The line's start: the tag stands at the start of its line in what Setup writes.
            return nStart - static_cast<int>(CString(RecordTag(RECORD_FOLDER)).GetLength());
        }
    }
    return strRecord.GetLength();
}

}  // namespace

int CarryEarlierRecords(CString& strRecord, const CString& strEarlier, const CString& strInstallDir,
                        RecordPathExists pfnExists, void* pContext) {
    int nCarried = 0;
    for (int nKind : CARRIED_KINDS) {
        int nPos = 0;
        int nStart = 0;
        int nLength = 0;
        while (FindRecord(strEarlier, nKind, nPos, nStart, nLength)) {
            if (nStart + nLength >= strEarlier.GetLength()) break;  // cut off with the file
            const CString strValue(static_cast<const char*>(strEarlier) + nStart, nLength);
            if (!IsBelow(strValue, strInstallDir) || HasDotComponent(strValue) ||
                IsRecorded(strRecord, nKind, strValue) || !pfnExists(strValue, pContext))
                continue;
            CString strLine;
            AppendRecord(strLine, nKind, strValue);
            if (nKind == RECORD_FOLDER) {
                const int nAt = FolderInsertPosition(strRecord, strValue);
                strRecord = strRecord.Left(nAt) + strLine + strRecord.Mid(nAt);
            } else {
                strRecord += strLine;
            }
            ++nCarried;
        }
    }
    return nCarried;
}
