#include "framework/MessageBox.h"

#include <atomic>

#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/PathText.h"

namespace {

// Read and written from any thread: prompts come from worker threads.
std::atomic<PFN_MESSAGEBOX_HOOK> g_pfnHook(NULL);

}  // namespace

PFN_MESSAGEBOX_HOOK AfxSetMessageBoxHook(PFN_MESSAGEBOX_HOOK pfnHook) {
    return g_pfnHook.exchange(pfnHook);
}

int AfxShowMessageBox(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType) {
    if (pszCaption == NULL) pszCaption = AfxGetAppName();
    PFN_MESSAGEBOX_HOOK pfnHook = g_pfnHook;
    if (pfnHook != NULL) return pfnHook(hOwner, pszText, pszCaption, nType);
    return ::MessageBoxA(hOwner, pszText, pszCaption, nType);
}

namespace {

CString ModuleBaseName() {
    CString strPath;
    if (!AfxGetModulePath(strPath)) return CString();
    CString strName = PathLastComponent(strPath);
    int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

}  // namespace

LPCSTR AfxGetAppName() {
    static const CString s_strName = ModuleBaseName();  // initialised once, thread-safe
    return s_strName;
}

CString AfxGetSystemErrorText(DWORD dwError) {
    CLocalText text;
    ::FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL,
        dwError, 0x0400, reinterpret_cast<LPSTR>(text.Receive()), 0, NULL);
    return CString(text.Get());
}
