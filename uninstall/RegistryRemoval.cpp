// The registry stage: each recorded key is deleted, in record order. Only the named key goes,
// never its parents; a key that still has sub-keys stays.
#include "framework/FailureTrace.h"
#include "framework/WideText.h"
#include "record/RecordFormat.h"
#include "record/RecordHive.h"
#include "uninstall/ReplayValues.h"
#include "uninstall/UninstallThread.h"

BOOL CUninstallThread::DeleteRegKeys() {
    if (m_bStop) return FALSE;
    int nPos = 0;
    CString strValue;
    BOOL bEnded = FALSE;
    while (NextRecordValue(RECORD_REGKEY, nPos, strValue, bEnded)) {
        RecordHive hive = HIVE_OTHER;
        CString strKeyPath;
        // A value without a comma names no hive: skipped, as is an empty key path, which would
        // make RegDeleteKeyA delete the hive's own key, and a key path cut off with the file.
        if (bEnded && SplitRegKeyValue(strValue, hive, strKeyPath) && IsReplayableKeyPath(strKeyPath)) {
            const CWideText keyPath(strKeyPath);
            const LONG lResult = keyPath.IsValid() ? ::RegDeleteKeyW(RecordKeyOfHive(hive), keyPath)
                                                   : ERROR_NO_UNICODE_TRANSLATION;
            if (lResult != ERROR_SUCCESS && lResult != ERROR_FILE_NOT_FOUND)
                AfxTraceFailure("RegDeleteKeyW", strValue, static_cast<DWORD>(lResult));
        }
        if (m_bStop) return FALSE;
    }
    return TRUE;
}
