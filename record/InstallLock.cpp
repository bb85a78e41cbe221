#include "record/InstallLock.h"

#include <wchar.h>

#include "framework/AdminOnlySecurity.h"
#include "framework/FileCalls.h"
#include "framework/WideText.h"
#include "record/ProgramWindows.h"

namespace {

const wchar_t LOCK_FILE_NAME[] = L"\\Kelvora Pindlemark V5.lock";
const wchar_t REMOVAL_BATCH_NAME[] = L"DelUS.bat";  // the uninstaller's REMOVAL_BATCH_PATH
const wchar_t DIALOG_CLASS[] = L"#32770";
const char* const INSTALLER_TITLES[] = {SETUP_INSTALLING_TITLE, SETUP_COMPLETED_TITLE, SETUP_WAITING_TITLE,
                                        UNINSTALL_DIALOG_TITLE, UNINSTALL_CONFIRM_CAPTION};

// The Windows folder's lock file: the system folder's parent, which no user's own Windows folder
// (a terminal server's) can stand in for.
BOOL GetLockPath(wchar_t* pszPath, size_t nSize) {
    const UINT nLength = ::GetSystemDirectoryW(pszPath, static_cast<UINT>(nSize));
    if (nLength == 0 || nLength >= nSize) return FALSE;
    wchar_t* pSlash = wcsrchr(pszPath, L'\\');
    if (pSlash == NULL || pSlash == pszPath) return FALSE;
    *pSlash = L'\0';
    if (static_cast<size_t>(pSlash - pszPath) + wcslen(LOCK_FILE_NAME) >= nSize) return FALSE;
    wcscat(pszPath, LOCK_FILE_NAME);
    return TRUE;
}

struct CFoundWindow {
    DWORD dwOwnProcess;
    HWND hWnd;
};

BOOL CALLBACK FindInstallerWindow(HWND hWnd, LPARAM lParam) {
    CFoundWindow& found = *reinterpret_cast<CFoundWindow*>(lParam);
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess == found.dwOwnProcess || !::IsWindowVisible(hWnd)) return TRUE;
    wchar_t szClass[16];
    if (::GetClassNameW(hWnd, szClass, 16) == 0 || wcscmp(szClass, DIALOG_CLASS) != 0) return TRUE;
    wchar_t szTitle[64];
    const int nTitle = ::GetWindowTextW(hWnd, szTitle, 64);
    for (const char* pszTitle : INSTALLER_TITLES) {
        const CWideText title(pszTitle);
        if (title.IsValid() && nTitle == title.GetLength() && wcscmp(szTitle, title) == 0) {
            found.hWnd = hWnd;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

BOOL CInstallLock::TryAcquire(DWORD* pdwError) {
    if (IsHeld()) return TRUE;
    wchar_t szPath[MAX_PATH];
    CAdminOnlySecurity security;
    if (!GetLockPath(szPath, MAX_PATH) || security.Get() == NULL) {
        if (pdwError != NULL) *pdwError = ::GetLastError();
        return FALSE;
    }
    // No sharing: while this handle is open, nobody else can open the file, for any access. Not
    // through a link: a reparse point there is no file of ours.
    m_hFile.Attach(::CreateFileW(
        szPath, GENERIC_READ | GENERIC_WRITE | DELETE, 0, security.Get(), OPEN_ALWAYS,
        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, NULL));
    if (!m_hFile.IsValid()) {
        if (pdwError != NULL) *pdwError = ::GetLastError();
        return FALSE;
    }
    if (!AfxIsPlainFile(m_hFile)) {
        m_hFile.Close();
        if (pdwError != NULL) *pdwError = ERROR_CANT_ACCESS_FILE;
        return FALSE;
    }
    return TRUE;
}

BOOL RemovalBatchStands() {
    wchar_t szPath[MAX_PATH];
    const UINT nLength = ::GetSystemDirectoryW(szPath, MAX_PATH);
    if (nLength < 3 || nLength >= MAX_PATH) return FALSE;
    szPath[3] = L'\0';  // "C:\"
    wcscat(szPath, REMOVAL_BATCH_NAME);
    return ::GetFileAttributesW(szPath) != INVALID_FILE_ATTRIBUTES;
}

BOOL ShowOtherInstallerWindow() {
    CFoundWindow found = {::GetCurrentProcessId(), NULL};
    ::EnumWindows(FindInstallerWindow, reinterpret_cast<LPARAM>(&found));
    if (found.hWnd == NULL) return FALSE;
    // A box the other program shows over its window is what the user must answer.
    HWND hWnd = ::GetLastActivePopup(found.hWnd);
    if (::IsIconic(found.hWnd)) ::ShowWindow(found.hWnd, SW_RESTORE);
    ::SetForegroundWindow(hWnd != NULL ? hWnd : found.hWnd);
    return TRUE;
}
