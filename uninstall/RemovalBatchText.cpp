#include "uninstall/RemovalBatchText.h"

#include "framework/PathText.h"

namespace {

// ":Repeat", the "del" and "if exist" of the executable, "rmdir" and the last "del" are the lines
// the batch has always had. The counter, the pause before every try but the first and the ":Stop"
// exit bound the loop. The batch's own "del" stays the last line: Wine's cmd goes on reading a
// batch that has deleted itself.
const char REMOVAL_BATCH_FORMAT[] =
    "setlocal enableextensions\r\n"
    "set DelUSPass=0\r\n"
    ":Repeat\r\n"
    "set /a DelUSPass+=1\r\n"
    "if %%DelUSPass%% GTR %d goto Stop\r\n"
    "if %%DelUSPass%% GTR 1 ping -n 2 127.0.0.1 >nul\r\n"
    "del \"%s\"\r\n"
    "if exist \"%s\" goto Repeat\r\n"
    "rmdir \"%s\"\r\n"
    ":Stop\r\n"
    "del \"%s\"\r\n";

// The interpreter's switches: /d skips the AutoRun commands a machine may have registered, /e:on
// turns on the extensions that "set /p" needs. "set /p" reads one line of the input, the pipe,
// and returns at its end; "&" then runs the batch. The whole command is one quoted argument of
// /c, whose outer quotes cmd strips because it holds an '&'.
const char REMOVAL_BATCH_COMMAND_FORMAT[] = "\"%s\" /d /e:on /c \"set /p DelUSWait=& %s\"";

// NUL, '"', CR, LF and '%' are below 0x40, so none of them is ever a GBK trail byte: a byte-wise
// look at the path is exact.
BOOL CanQuote(const CString& strPath) {
    for (int i = 0; i < strPath.GetLength(); ++i) {
        char ch = strPath[i];
        if (ch == '\0' || ch == '"' || ch == '\r' || ch == '\n') return FALSE;
    }
    return TRUE;
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

BOOL BuildRemovalBatchText(const CString& strExePath, int nPasses, CString& strText) {
    strText.Empty();
    CString strFolder = PathParent(strExePath);
    if (strFolder.IsEmpty() || nPasses <= 0 || !CanQuote(strExePath)) return FALSE;

    CString strExe = EscapePercent(strExePath);
    CString strBuilt;
    if (!strBuilt.Format(REMOVAL_BATCH_FORMAT, nPasses, static_cast<const char*>(strExe),
                         static_cast<const char*>(strExe), static_cast<const char*>(EscapePercent(strFolder)),
                         REMOVAL_BATCH_PATH))
        return FALSE;
    if (strBuilt.GetLength() >= REMOVAL_BATCH_TEXT_LIMIT) return FALSE;
    strText = strBuilt;
    return TRUE;
}

BOOL BuildRemovalBatchCommand(const CString& strInterpreter, CString& strCommand) {
    strCommand.Empty();
    if (strInterpreter.IsEmpty() || !CanQuote(strInterpreter)) return FALSE;
    CString strBuilt;
    if (!strBuilt.Format(REMOVAL_BATCH_COMMAND_FORMAT, static_cast<const char*>(strInterpreter),
                         REMOVAL_BATCH_PATH))
        return FALSE;
    if (strBuilt.GetLength() >= REMOVAL_BATCH_COMMAND_LIMIT) return FALSE;
    strCommand = strBuilt;
    return TRUE;
}
