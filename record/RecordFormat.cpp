#include "record/RecordFormat.h"

#include <cstring>

const char* RecordTag(int nKind) {
    static const char* const TAGS[] = {"File Copy: ", "Made Dir: ", "Reg Ctrl: ", "RegDB Key: "};
    if (nKind < RECORD_FILE || nKind > RECORD_REGKEY) return NULL;
    return TAGS[nKind];
}

const char* HiveCode(RecordHive hive) {
    static const char* const HIVE_CODES[] = {"0", "1", "2", "3", "4"};
    if (hive < HIVE_CLASSES_ROOT || hive > HIVE_OTHER) return HIVE_CODES[HIVE_OTHER];
    return HIVE_CODES[hive];
}

RecordHive HiveFromCode(const CString& strCode) {
    for (int n = HIVE_CLASSES_ROOT; n < HIVE_OTHER; ++n) {
        if (strCode == HiveCode(static_cast<RecordHive>(n))) return static_cast<RecordHive>(n);
    }
    return HIVE_OTHER;
}

void AppendRecord(CString& strRecord, int nKind, const CString& strValue) {
    const char* pszTag = RecordTag(nKind);
    if (pszTag == NULL) return;
    strRecord += pszTag;
    strRecord += strValue;
    strRecord += '\n';
}

void AppendRegKeyRecord(CString& strRecord, RecordHive hive, const CString& strKeyPath) {
    strRecord += RecordTag(RECORD_REGKEY);
    strRecord += HiveCode(hive);
    strRecord += ',';
    strRecord += strKeyPath;
    strRecord += '\n';
}

BOOL FindRecord(const CString& strRecord, int nKind, int& nPos, int& nValueStart, int& nValueLength) {
    const char* pszTag = RecordTag(nKind);
    if (pszTag == NULL) return FALSE;
    const char* pText = strRecord;
    int nTextLength = strRecord.GetLength();

    int nFrom = nPos < 0 ? 0 : nPos;
    while (nFrom <= nTextLength) {
        int nTag = strRecord.Find(pszTag, nFrom);
        if (nTag < 0) return FALSE;
        int nStart = nTag + static_cast<int>(std::strlen(pszTag));

        // A plain byte search: LF is never a trail byte, and must not be taken for one.
        const void* pLf = std::memchr(pText + nStart, '\n', static_cast<size_t>(nTextLength - nStart));
        int nEnd = pLf != NULL ? static_cast<int>(static_cast<const char*>(pLf) - pText) : nTextLength;

        if (std::memchr(pText + nStart, '\0', static_cast<size_t>(nEnd - nStart)) == NULL) {
            nValueStart = nStart;
            nValueLength = nEnd - nStart;
            nPos = nEnd + 1;
            return TRUE;
        }
        nFrom = nEnd + 1;
    }
    return FALSE;
}

int CountRecords(const CString& strRecord, int nKind) {
    int nCount = 0;
    int nPos = 0;
    int nStart = 0;
    int nLength = 0;
    while (FindRecord(strRecord, nKind, nPos, nStart, nLength)) ++nCount;
    return nCount;
}

BOOL SplitRegKeyValue(const CString& strValue, RecordHive& hive, CString& strKeyPath) {
    int nComma = strValue.Find(',');
    if (nComma < 0) return FALSE;
    hive = HiveFromCode(strValue.Left(nComma));
    strKeyPath = strValue.Mid(nComma + 1);
    return TRUE;
}
