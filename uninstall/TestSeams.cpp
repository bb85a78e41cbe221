#include "uninstall/TestSeams.h"

#ifdef PM_TEST_SEAMS
#include <windows.h>

#include <string.h>

const UINT END_AT_EXIT_CODE = 86;

void EndHereIfAsked(const char* pszPlace) {
    char szAsked[32] = "";
    DWORD nLength = ::GetEnvironmentVariableA("PM_UNINSTALL_END_AT", szAsked, sizeof szAsked);
    if (nLength > 0 && nLength < sizeof szAsked && strcmp(szAsked, pszPlace) == 0)
        ::TerminateProcess(::GetCurrentProcess(), END_AT_EXIT_CODE);
}
#endif
