#include "framework/CommonControls.h"

#include <commctrl.h>

#include "framework/DllSearch.h"

namespace {
typedef BOOL(WINAPI* PFN_INITCOMMONCONTROLSEX)(const INITCOMMONCONTROLSEX* pInit);
}  // namespace

BOOL AfxInitCommonControls(DWORD dwClasses) {
    // Never freed: the module stays for the process's life whatever its reference count.
    HMODULE hComctl = AfxLoadSystemLibrary("comctl32.dll");
    if (hComctl == NULL) return FALSE;
    PFN_INITCOMMONCONTROLSEX pfnInit = reinterpret_cast<PFN_INITCOMMONCONTROLSEX>(
        reinterpret_cast<void*>(::GetProcAddress(hComctl, "InitCommonControlsEx")));
    if (pfnInit == NULL) return FALSE;
    INITCOMMONCONTROLSEX icc = {sizeof icc, dwClasses};
    return pfnInit(&icc);
}
