// The control stage: each recorded control is unregistered, then its file deleted.
#include "framework/ErrorModeScope.h"
#include "framework/Handles.h"
#include "record/RecordFormat.h"
#include "uninstall/ReplayValues.h"
#include "uninstall/UninstallThread.h"

namespace {
const char UNREGISTER_ENTRY[] = "DllUnregisterServer";
typedef HRESULT(STDAPICALLTYPE* UnregisterEntry)();
}  // namespace

BOOL CUninstallThread::UnregisterControls() {
    int nPos = 0;
    CString strPath;
    BOOL bEnded = FALSE;
    while (!m_bStop && NextRecordValue(RECORD_CONTROL, nPos, strPath, bEnded)) {
        if (!bEnded || !IsReplayablePath(strPath)) continue;
        UnregisterControl(strPath);
        ::DeleteFileA(strPath);
    }
    return !m_bStop;
}

BOOL CUninstallThread::UnregisterControl(const CString& strPath) {
    // A bare module name would be looked for along the search path and could load a system DLL.
    if (!IsReplayablePath(strPath)) return FALSE;
    CErrorModeScope quiet;
    // As at registration: the control's own folder is searched for the modules it needs.
    CModuleHandle hModule(::LoadLibraryExA(strPath, NULL, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!hModule.IsValid()) return FALSE;
    UnregisterEntry pfnUnregister = reinterpret_cast<UnregisterEntry>(
        reinterpret_cast<void*>(::GetProcAddress(hModule, UNREGISTER_ENTRY)));
    if (pfnUnregister == NULL) return FALSE;
    return pfnUnregister() == S_OK;
}
