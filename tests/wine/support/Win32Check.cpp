#include "Win32Check.h"

#include "framework/SystemErrorText.h"

::testing::AssertionResult Win32Succeeded(const char* pszCall, const std::function<bool()>& call) {
    ::SetLastError(ERROR_SUCCESS);
    const bool bSucceeded = call();
    const DWORD dwError = ::GetLastError();
    if (bSucceeded) return ::testing::AssertionSuccess();
    CString strText = AfxGetSystemErrorText(dwError);
    strText.TrimRight();
    return ::testing::AssertionFailure() << pszCall << " failed, expected success: error " << dwError << " ("
                                         << static_cast<const char*>(strText) << ")";
}
