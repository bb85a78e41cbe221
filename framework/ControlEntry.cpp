#include "framework/ControlEntry.h"

#include "framework/DllSearch.h"
#include "framework/ErrorModeScope.h"
#include "framework/Handles.h"
#include "framework/PathText.h"

namespace {
typedef HRESULT(STDAPICALLTYPE* PFN_CONTROLENTRY)();
}  // namespace

BOOL AfxCallControlEntry(LPCSTR pszPath, LPCSTR pszEntry) {
    CErrorModeScope quiet;
    CModuleHandle hModule(AfxLoadLibraryFrom(pszPath));
    if (!hModule.IsValid()) return FALSE;
    PFN_CONTROLENTRY pfnEntry =
        reinterpret_cast<PFN_CONTROLENTRY>(reinterpret_cast<void*>(::GetProcAddress(hModule, pszEntry)));
    if (pfnEntry == NULL) return FALSE;
    // Released before the module, so its unloading already sees the program's own search.
    CDllDirectoryScope folder(PathParent(pszPath));
    return pfnEntry() == S_OK;
}
