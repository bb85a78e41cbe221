#include "uninstall/TestSeams.h"

#ifdef PM_TEST_SEAMS
#include <windows.h>

#include <string.h>

const UINT END_AT_EXIT_CODE = 86;

namespace {

bool IsAsked(const char* pszVariable, const char* pszPlace) {
    char szAsked[32] = "";
    DWORD nLength = ::GetEnvironmentVariableA(pszVariable, szAsked, sizeof szAsked);
    return nLength > 0 && nLength < sizeof szAsked && strcmp(szAsked, pszPlace) == 0;
}

}  // namespace

void EndHereIfAsked(const char* pszPlace) {
    if (IsAsked("PM_UNINSTALL_END_AT", pszPlace)) ::TerminateProcess(::GetCurrentProcess(), END_AT_EXIT_CODE);
}

bool FailHereIfAsked(const char* pszPlace) {
    if (!IsAsked("PM_UNINSTALL_FAIL_AT", pszPlace)) return false;
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return true;
}
#endif
