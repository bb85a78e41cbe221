#include "framework/MessageBox.h"

#include <atomic>

#include "framework/AppName.h"
#include "framework/WideText.h"

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
    return ::MessageBoxW(hOwner, CWideText(pszText), CWideText(pszCaption), nType);
}
