#include "uninstall/RemovalBatchText.h"

#include "framework/PathText.h"

namespace {

// ":Repeat", the "del" and "if exist" of the executable, "rmdir" and the last "del" are the lines
// the batch has always had. The counter, the pause before every try but the first and the ":Stop"
// exit bound the loop. The record's "del" (its own line, present only when a record is named)
// comes once the executable is gone, before the folder is removed; "/a" takes the file whatever
// its attributes (the record is hidden), "/f" even when it is read-only. The batch's own "del"
// stays the last line: Wine's cmd goes on reading a batch that has deleted itself.
const char REMOVAL_BATCH_HEAD_FORMAT[] =
    "setlocal enableextensions\r\n"
    "set DelUSPass=0\r\n"
    ":Repeat\r\n"
    "set /a DelUSPass+=1\r\n"
    "if %%DelUSPass%% GTR %d goto Stop\r\n"
    "if %%DelUSPass%% GTR 1 \"%s\" -n 2 127.0.0.1 >nul\r\n"
    "del \"%s\"\r\n"
    "if exist \"%s\" goto Repeat\r\n";
const char REMOVAL_BATCH_RECORD_FORMAT[] = "del /f /a \"%s\"\r\n";
const char REMOVAL_BATCH_TAIL_FORMAT[] =
    "rmdir \"%s\"\r\n"
    ":Stop\r\n"
    "del \"%s\"\r\n";

// The interpreter's switches: /d skips the AutoRun commands a machine may have registered, /e:on
// turns on the extensions that "set /p" needs, /s keeps the quoting rule fixed: the outer quotes of
// the one argument of /c are stripped and the rest is run as it stands. "set /p" reads one line of
// the input, the pipe, and returns at its end; "&" then runs the batch.
const char REMOVAL_BATCH_COMMAND_FORMAT[] = "\"%s\" /d /e:on /s /c \"set /p DelUSWait=& \"%s\"\"";

// NUL, '"', CR, LF and '%' are below 0x40, so none of them is ever a GBK trail byte: a byte-wise
// look at the path is exact.
BOOL CanQuote(const CString& strPath) {
    if (strPath.IsEmpty()) return FALSE;
    for (int i = 0; i < strPath.GetLength(); ++i) {
        char ch = strPath[i];
        if (ch == '\0' || ch == '"' || ch == '\r' || ch == '\n') return FALSE;
    }
    return TRUE;
}

BOOL CanName(const CString& strPath) {
    return CanQuote(strPath) && PathIsFull(strPath);
}

CString EscapePercent(const CString& strPath) {
    CString strOut;
    for (int i = 0; i < strPath.GetLength(); ++i) {
        char ch = strPath[i];
        strOut += ch;
        if (ch == '%') strOut += ch;
    }
    return strOut;
}

}  // namespace

BOOL BuildRemovalBatchText(const CRemovalBatchPaths& paths, int nPasses, CString& strText) {
    strText.Empty();
    CString strFolder = PathParent(paths.strExe);
    if (strFolder.IsEmpty() || nPasses <= 0 || !CanName(paths.strExe) || !CanName(paths.strPause) ||
        !CanName(paths.strBatch) || (!paths.strRecord.IsEmpty() && !CanName(paths.strRecord)))
        return FALSE;

    const CString strExe = EscapePercent(paths.strExe);
    CString strHead;
    CString strRecordLine;
    CString strTail;
    if (!strHead.Format(REMOVAL_BATCH_HEAD_FORMAT, nPasses,
                        static_cast<const char*>(EscapePercent(paths.strPause)),
                        static_cast<const char*>(strExe), static_cast<const char*>(strExe)) ||
        !strTail.Format(REMOVAL_BATCH_TAIL_FORMAT, static_cast<const char*>(EscapePercent(strFolder)),
                        static_cast<const char*>(EscapePercent(paths.strBatch))))
        return FALSE;
    if (!paths.strRecord.IsEmpty() &&
        !strRecordLine.Format(REMOVAL_BATCH_RECORD_FORMAT,
                              static_cast<const char*>(EscapePercent(paths.strRecord))))
        return FALSE;
    const CString strBuilt = strHead + strRecordLine + strTail;
    if (strBuilt.GetLength() >= REMOVAL_BATCH_TEXT_LIMIT) return FALSE;
    strText = strBuilt;
    return TRUE;
}

BOOL BuildRemovalBatchCommand(const CString& strInterpreter, const CString& strBatch, CString& strCommand) {
    strCommand.Empty();
    if (!CanName(strInterpreter) || !CanName(strBatch) || strBatch.Find('%') >= 0) return FALSE;
    CString strBuilt;
    if (!strBuilt.Format(REMOVAL_BATCH_COMMAND_FORMAT, static_cast<const char*>(strInterpreter),
                         static_cast<const char*>(strBatch)))
        return FALSE;
    if (strBuilt.GetLength() >= REMOVAL_BATCH_COMMAND_LIMIT) return FALSE;
    strCommand = strBuilt;
    return TRUE;
}
