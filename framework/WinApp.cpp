#include "framework/WinApp.h"

#include <commctrl.h>

#include "framework/AppName.h"
#include "framework/CommonControls.h"
#include "framework/DllSearch.h"

namespace {
CWinApp* g_pApp = NULL;
}  // namespace

CWinApp::CWinApp(LPCSTR pszAppName) : m_pszAppName(pszAppName), m_hInstance(::GetModuleHandleW(NULL)) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = NULL;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(nIDResource));
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

// The programs' entry point, taken from the framework library when a program has none.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    AfxLimitDllSearch();
    CWinApp* pApp = AfxGetApp();
    if (pApp == NULL) return -1;
    pApp->m_hInstance = hInstance;
    if (pApp->m_pszAppName == NULL) pApp->m_pszAppName = AfxGetAppName();
    // The dialogs' progress bars are common controls: register their window class.
    AfxInitCommonControls(ICC_PROGRESS_CLASS);
    pApp->m_nThreadID = ::GetCurrentThreadId();
    if (!pApp->InitInstance()) return pApp->ExitInstance();
    return pApp->Run();
}
