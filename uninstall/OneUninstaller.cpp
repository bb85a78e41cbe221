#include "uninstall/OneUninstaller.h"

#include "framework/WideText.h"
#include "uninstall/UninstallResource.h"

namespace {

// Machine-wide, so that uninstallers in two users' sessions exclude each other too; since
// Windows Vista only elevated programs may create objects there, so a user cannot take the name.
const char MUTEX_NAME[] = "Global\\Kelvora Pindlemark V5 Uninstall";
const wchar_t DIALOG_CLASS[] = L"#32770";

void ShowOtherUninstaller(const char* pszConfirmCaption) {
    HWND hWnd = ::FindWindowW(DIALOG_CLASS, CWideText(UNINSTALL_DIALOG_TITLE));
    if (hWnd == NULL) hWnd = ::FindWindowW(DIALOG_CLASS, CWideText(pszConfirmCaption));
    if (hWnd == NULL) return;
    if (::IsIconic(hWnd)) ::ShowWindow(hWnd, SW_RESTORE);
    ::SetForegroundWindow(hWnd);
}

}  // namespace

BOOL COneUninstaller::Acquire(const char* pszConfirmCaption) {
    m_hMutex.Attach(::CreateMutexA(NULL, FALSE, MUTEX_NAME));
    // A name that cannot be had at all (taken by an object of another kind, or without access)
    // cannot tell of another uninstaller: this one runs, as it would have without the mutex.
    if (!m_hMutex.IsValid()) return TRUE;
    const DWORD dwWait = ::WaitForSingleObject(m_hMutex, 0);
    if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED) return TRUE;
    m_hMutex.Close();
    ShowOtherUninstaller(pszConfirmCaption);
    return FALSE;
}
