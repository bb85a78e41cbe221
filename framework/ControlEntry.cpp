#include "framework/ControlEntry.h"

#include "framework/DllSearch.h"
#include "framework/ErrorModeScope.h"
#include "framework/FailureTrace.h"
#include "framework/Handles.h"
#include "framework/PathText.h"

namespace {
typedef HRESULT(STDAPICALLTYPE* PFN_CONTROLENTRY)();
}  // namespace

BOOL AfxCallControlEntry(LPCSTR pszPath, LPCSTR pszEntry) {
    CErrorModeScope quiet;
    CModuleHandle hModule(AfxLoadLibraryFrom(pszPath));
    if (!hModule.IsValid()) {
        AfxTraceFailure("LoadLibraryExW", pszPath, ::GetLastError());
        return FALSE;
    }
    PFN_CONTROLENTRY pfnEntry =
        reinterpret_cast<PFN_CONTROLENTRY>(reinterpret_cast<void*>(::GetProcAddress(hModule, pszEntry)));
    if (pfnEntry == NULL) {
        AfxTraceFailure(pszEntry, pszPath, ::GetLastError());
        return FALSE;
    }
    // Released before the module, so its unloading already sees the program's own search.
    CDllDirectoryScope folder(PathParent(pszPath));
    const HRESULT hr = pfnEntry();
    if (hr == S_OK) return TRUE;
    AfxTraceResult(pszEntry, pszPath, hr);
    return FALSE;
}
