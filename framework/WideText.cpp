#include "framework/WideText.h"

BOOL AfxNarrowToWide(LPCSTR pszText, LPWSTR pwszWide, int nWide) {
    // A byte that is no character of the code page would become U+FFFD or be dropped, giving
    // another path than the one meant.
    return ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pszText, -1, pwszWide, nWide) != 0;
}
