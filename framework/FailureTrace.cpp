#include "framework/FailureTrace.h"

#include "framework/AppName.h"
#include "framework/NarrowString.h"
#include "framework/SystemErrorText.h"
#include "framework/WideText.h"

namespace {

// The system's text ends in CR LF (and some texts hold a line end of their own): one trace line
// is one line.
CString OneLine(const CString& strText) {
    CString strLine;
    for (int i = 0; i < strText.GetLength(); ++i) {
        const char ch = strText[i];
        strLine += (ch == '\r' || ch == '\n') ? ' ' : ch;
    }
    strLine.TrimRight();
    return strLine;
}

// "<program>: <what> failed: <object>: <code>[: <system text>]", one line.
void Trace(LPCSTR pszWhat, LPCSTR pszObject, const CString& strCode, DWORD dwTextCode, BOOL bWithText) {
    const DWORD dwSavedError = ::GetLastError();  // the caller may still look at it
    CString strLine;
    strLine.Format("%s: %s failed: %s: %s", AfxGetAppName(), pszWhat, pszObject != NULL ? pszObject : "",
                   static_cast<const char*>(strCode));
    const CString strSystem = bWithText ? OneLine(AfxGetSystemErrorText(dwTextCode)) : CString();
    if (!strSystem.IsEmpty()) strLine += ": " + strSystem;
    strLine += "\n";
    ::OutputDebugStringW(CWideText(strLine));
    ::SetLastError(dwSavedError);
}

}  // namespace

void AfxTraceFailure(LPCSTR pszWhat, LPCSTR pszObject, DWORD dwError) {
    CString strCode;
    strCode.Format("error %lu", static_cast<unsigned long>(dwError));
    Trace(pszWhat, pszObject, strCode, dwError, TRUE);
}

void AfxTraceResult(LPCSTR pszWhat, LPCSTR pszObject, HRESULT hr) {
    CString strCode;
    strCode.Format("result 0x%08lX", static_cast<unsigned long>(hr));
    Trace(pszWhat, pszObject, strCode, static_cast<DWORD>(hr), FAILED(hr));
}

void AfxTraceDeletionFailure(LPCSTR pszWhat, LPCSTR pszObject) {
    const DWORD dwError = ::GetLastError();
    if (dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND) return;
    AfxTraceFailure(pszWhat, pszObject, dwError);
}
