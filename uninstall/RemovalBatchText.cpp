#include "uninstall/RemovalBatchText.h"

#include <algorithm>

#include "framework/PathText.h"

namespace {

// ":Repeat", the "del" and "if exist" of the executable, "rmdir" and the last "del" are the lines
// the batch has always had. The counter, the pause before every try but the first and the ":Stop"
// exit bound the loop. The record's "del" (its own line, present only when a record is named)
// comes once the executable is gone, before the folder is removed; "/a" takes the file whatever
// its attributes (the record is hidden), "/f" even when it is read-only. The batch's own "del"
// stays the last line: Wine's cmd goes on reading a batch that has deleted itself.
const char REMOVAL_BATCH_HEAD_FORMAT[] =
    "setlocal enableextensions enabledelayedexpansion\r\n"
    "set DelUSPass=0\r\n"
    ":Repeat\r\n"
    "set /a DelUSPass+=1\r\n"
    "if !DelUSPass! GTR %d goto Stop\r\n"
    "if !DelUSPass! GTR 1 \"!DelUSPause!\" -n 2 127.0.0.1 >nul\r\n"
    "del \"!DelUSExe!\"\r\n"
    "if exist \"!DelUSExe!\" goto Repeat\r\n";
const char REMOVAL_BATCH_RECORD_LINE[] = "del /f /a \"!DelUSRecord!\"\r\n";
const char REMOVAL_BATCH_TAIL[] =
    "rmdir \"!DelUSFolder!\"\r\n"
    ":Stop\r\n"
    "del \"!DelUSBatch!\"\r\n";

// The interpreter's switches: /d skips the AutoRun commands a machine may have registered, /e:on
// turns on the extensions that "set /p" needs, /s keeps the quoting rule fixed: the outer quotes of
// the one argument of /c are stripped and the rest is run as it stands. "set /p" reads one line of
// the input, the pipe, and returns at its end; "&" then runs the batch, which the variable names.
const char REMOVAL_BATCH_COMMAND_FORMAT[] = "\"%s\" /d /e:on /s /c \"set /p DelUSWait=& \"%%DelUSBatch%%\"\"";

// NUL, '"', CR, LF and '!' are below 0x40, so none of them is ever a GBK trail byte: a byte-wise
// look at the path is exact. A '!' would be taken for the end of a variable's name by Wine's cmd.
BOOL CanQuote(const CString& strPath) {
    if (strPath.IsEmpty()) return FALSE;
    for (int i = 0; i < strPath.GetLength(); ++i) {
        char ch = strPath[i];
        if (ch == '\0' || ch == '"' || ch == '\r' || ch == '\n' || ch == '!') return FALSE;
    }
    return TRUE;
}

BOOL CanName(const CString& strPath) {
    return CanQuote(strPath) && PathIsFull(strPath);
}

// The name of "NAME=value", up to its '=' (a name may begin with one, as "=C:" does).
std::u16string NameOf(const std::u16string& strVariable) {
    const size_t nEquals = strVariable.find(u'=', 1);
    return strVariable.substr(0, nEquals == std::u16string::npos ? strVariable.size() : nEquals);
}

// Names compare with ASCII letters folded, as Windows sorts and finds them.
std::u16string FoldedName(const std::u16string& strVariable) {
    std::u16string strName = NameOf(strVariable);
    std::transform(strName.begin(), strName.end(), strName.begin(), [](char16_t ch) {
        return ch >= u'a' && ch <= u'z' ? static_cast<char16_t>(ch - u'a' + u'A') : ch;
    });
    return strName;
}

}  // namespace

BOOL BuildRemovalBatch(const CRemovalBatchPaths& paths, int nPasses, CString& strText,
                       CStringArray& arrVariables) {
    strText.Empty();
    arrVariables.RemoveAll();
    const CString strFolder = PathParent(paths.strExe);
    if (strFolder.IsEmpty() || nPasses <= 0 || !CanName(paths.strExe) || !CanName(paths.strPause) ||
        !CanName(paths.strBatch) || paths.strBatch.Find('%') >= 0 ||
        (!paths.strRecord.IsEmpty() && !CanName(paths.strRecord)))
        return FALSE;
    CString strHead;
    if (!strHead.Format(REMOVAL_BATCH_HEAD_FORMAT, nPasses)) return FALSE;
    strText = strHead + (paths.strRecord.IsEmpty() ? "" : REMOVAL_BATCH_RECORD_LINE) + REMOVAL_BATCH_TAIL;
    arrVariables.Add("DelUSPause=" + paths.strPause);
    arrVariables.Add("DelUSExe=" + paths.strExe);
    if (!paths.strRecord.IsEmpty()) arrVariables.Add("DelUSRecord=" + paths.strRecord);
    arrVariables.Add("DelUSFolder=" + strFolder);
    arrVariables.Add("DelUSBatch=" + paths.strBatch);
    return TRUE;
}

BOOL BuildRemovalBatchCommand(const CString& strInterpreter, CString& strCommand) {
    strCommand.Empty();
    if (!CanName(strInterpreter)) return FALSE;
    return strCommand.Format(REMOVAL_BATCH_COMMAND_FORMAT, static_cast<const char*>(strInterpreter));
}

std::u16string WithVariables(const std::u16string& strBlock, const std::vector<std::u16string>& variables) {
    std::vector<std::u16string> texts;
    for (size_t nStart = 0; nStart < strBlock.size();) {
        size_t nEnd = strBlock.find(u'\0', nStart);
        if (nEnd == std::u16string::npos) nEnd = strBlock.size();
        if (nEnd == nStart) break;  // the block's end
        texts.push_back(strBlock.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    for (const std::u16string& strVariable : variables) {
        const std::u16string strName = FoldedName(strVariable);
        texts.erase(
            std::remove_if(texts.begin(), texts.end(),
                           [&](const std::u16string& strText) { return FoldedName(strText) == strName; }),
            texts.end());
        texts.push_back(strVariable);
    }
    std::stable_sort(texts.begin(), texts.end(), [](const std::u16string& a, const std::u16string& b) {
        return FoldedName(a) < FoldedName(b);
    });
    std::u16string strOut;
    for (const std::u16string& strText : texts) strOut += strText + u'\0';
    return strOut + u'\0';
}
