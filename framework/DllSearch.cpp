#include "framework/DllSearch.h"

#include "framework/EarlyLoads.h"
#include "framework/ErrorModeScope.h"
#include "framework/FileCalls.h"
#include "framework/PathText.h"
#include "framework/WideText.h"

namespace {

// The restricted search came with a loader update of Vista and 7 and is part of Windows 8 and
// later. The headers of the XP target lack its flags, and its functions are taken from kernel32
// at run time, so that the programs still load on XP.
const DWORD SEARCH_DLL_LOAD_DIR = 0x00000100;  // LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
const DWORD SEARCH_USER_DIRS = 0x00000400;     // LOAD_LIBRARY_SEARCH_USER_DIRS
const DWORD SEARCH_SYSTEM32 = 0x00000800;      // LOAD_LIBRARY_SEARCH_SYSTEM32

typedef BOOL(WINAPI* PFN_SETDEFAULTDLLDIRECTORIES)(DWORD dwFlags);
typedef void*(WINAPI* PFN_ADDDLLDIRECTORY)(LPCWSTR pwszFolder);
typedef BOOL(WINAPI* PFN_REMOVEDLLDIRECTORY)(void* pCookie);
typedef BOOL(WINAPI* PFN_SETDLLDIRECTORYA)(LPCSTR pszFolder);  // XP SP1; not declared for XP

// The search AfxLimitDllSearch gave the process; 0 while it is the standard one.
DWORD g_dwDefaultSearch = 0;

template <typename PFN>
PFN KernelProc(LPCSTR pszName) {
    return reinterpret_cast<PFN>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), pszName)));
}

// LoadLibraryEx takes the LOAD_LIBRARY_SEARCH flags where kernel32 has AddDllDirectory, and
// rejects them elsewhere.
BOOL HasRestrictedSearch() {
    return KernelProc<PFN_ADDDLLDIRECTORY>("AddDllDirectory") != NULL &&
           KernelProc<PFN_REMOVEDLLDIRECTORY>("RemoveDllDirectory") != NULL;
}

BOOL SetDefaultSearch(DWORD dwFlags) {
    PFN_SETDEFAULTDLLDIRECTORIES pfnSetDefault =
        KernelProc<PFN_SETDEFAULTDLLDIRECTORIES>("SetDefaultDllDirectories");
    return pfnSetDefault != NULL && pfnSetDefault(dwFlags);
}

}  // namespace

void AfxLimitDllSearch() {
    if (HasRestrictedSearch() && SetDefaultSearch(SEARCH_SYSTEM32)) {
        g_dwDefaultSearch = SEARCH_SYSTEM32;
        return;
    }
    PFN_SETDLLDIRECTORYA pfnSetDllDirectory = KernelProc<PFN_SETDLLDIRECTORYA>("SetDllDirectoryA");
    if (pfnSetDllDirectory != NULL) pfnSetDllDirectory("");
    AfxLoadEarlyDlls();
}

void AfxLoadEarlyDlls() {
    // A DLL that the system lacks (propsys on XP) is passed over without a box.
    CErrorModeScope quiet;
    for (int i = 0; i < EARLY_LOADED_DLL_COUNT; ++i) AfxLoadSystemLibrary(EARLY_LOADED_DLLS[i]);
}

HMODULE AfxLoadLibraryFrom(LPCSTR pszPath) {
    // The LOAD_LIBRARY_SEARCH flags cannot be combined with LOAD_WITH_ALTERED_SEARCH_PATH.
    const DWORD dwFlags =
        HasRestrictedSearch() ? SEARCH_DLL_LOAD_DIR | SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH;
    return AfxLoadLibraryEx(pszPath, dwFlags);
}

HMODULE AfxLoadSystemLibrary(LPCSTR pszName) {
    CString strFolder;
    if (!AfxGetSystemFolder(strFolder)) return NULL;
    return AfxLoadLibraryFrom(JoinPath(strFolder, pszName));
}

CDllDirectoryScope::CDllDirectoryScope(LPCSTR pszFolder) : m_pCookie(NULL) {
    if (g_dwDefaultSearch == 0) return;
    const CWideText folder(pszFolder);
    if (!folder.IsValid()) return;
    m_pCookie = KernelProc<PFN_ADDDLLDIRECTORY>("AddDllDirectory")(folder);
    // An added folder is searched by plain loads only while the default search names it.
    if (m_pCookie != NULL) SetDefaultSearch(g_dwDefaultSearch | SEARCH_USER_DIRS);
}

CDllDirectoryScope::~CDllDirectoryScope() {
    if (m_pCookie == NULL) return;
    SetDefaultSearch(g_dwDefaultSearch);
    KernelProc<PFN_REMOVEDLLDIRECTORY>("RemoveDllDirectory")(m_pCookie);
}
