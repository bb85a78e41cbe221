// CSetupThread's first step: requests to delete the install folder's files at the next restart,
// left by an uninstall that could not remove itself, are dropped, so that a restart after this
// install cannot take its files; and so are the renames into the folder an earlier Setup left for
// files in use, whose older copies would otherwise overwrite this install's files at the restart.
// Their temporary files go too: this install copies again, or makes them anew.
#include <string>
#include <vector>

#include "framework/FailureTrace.h"
#include "framework/Handles.h"
#include "framework/WideText.h"
#include "record/RestartRemovals.h"
#include "setup/SetupThread.h"

namespace {

const wchar_t SESSION_MANAGER_KEY[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
// The system reads both; MoveFileEx writes the first.
const wchar_t* const RESTART_LISTS[] = {L"PendingFileRenameOperations", L"PendingFileRenameOperations2"};

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

// The list's value as stored, UTF-16; FALSE when it is not there or no REG_MULTI_SZ.
BOOL ReadList(HKEY hKey, const wchar_t* pszValue, std::u16string& strList) {
    DWORD dwType = 0;
    DWORD nBytes = 0;
    if (::RegQueryValueExW(hKey, pszValue, NULL, &dwType, NULL, &nBytes) != ERROR_SUCCESS ||
        dwType != REG_MULTI_SZ)
        return FALSE;
    std::vector<wchar_t> data(nBytes / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(hKey, pszValue, NULL, &dwType, reinterpret_cast<BYTE*>(data.data()), &nBytes) !=
            ERROR_SUCCESS ||
        dwType != REG_MULTI_SZ)
        return FALSE;
    strList.assign(reinterpret_cast<const char16_t*>(data.data()), nBytes / sizeof(wchar_t));
    return TRUE;
}

void TraceFailure(LPCSTR pszWhat, DWORD dwError) {
    AfxTraceFailure(pszWhat, "PendingFileRenameOperations", dwError);
}

// How often the list is read again when another program changed it meanwhile.
const int LIST_TRIES = 3;

// The list's values are UTF-16 and may name any file of any program: read and written wide, so
// that no other entry is changed on the way. Other programs write the list too, and the registry
// has no transaction on XP: it is written only when one of the folder's entries is dropped, and
// only while it still holds what was read (read again just before), then read back.
void CancelIn(HKEY hKey, const wchar_t* pszValue, const std::u16string& strFolder) {
    for (int nTry = 0; nTry < LIST_TRIES; ++nTry) {
        std::u16string strList;
        if (!ReadList(hKey, pszValue, strList)) return;
        // Compared in the same form: the value may end in more or fewer NULs than the list needs.
        const std::u16string strKept = WithoutRemovalsUnder(strList, strFolder);
        if (strKept == WithoutRemovalsUnder(strList, std::u16string())) return;  // nothing dropped
        std::u16string strNow;
        if (!ReadList(hKey, pszValue, strNow) || strNow != strList) continue;
        const LONG lResult = strKept.empty()
                                 ? ::RegDeleteValueW(hKey, pszValue)
                                 : ::RegSetValueExW(hKey, pszValue, 0, REG_MULTI_SZ,
                                                    reinterpret_cast<const BYTE*>(strKept.data()),
                                                    static_cast<DWORD>(strKept.size() * sizeof(char16_t)));
        if (lResult != ERROR_SUCCESS)
            return TraceFailure("dropping the install folder's deletions at the next restart",
                                static_cast<DWORD>(lResult));
        const BOOL bThere = ReadList(hKey, pszValue, strNow);
        if (strKept.empty() ? bThere : (!bThere || strNow != strKept))
            TraceFailure("the restart list read back differs from what was written", ERROR_WRITE_FAULT);
        // The renames dropped were an earlier install's: their temporary files would stay.
        for (const std::u16string& strTemp : RenameSourcesInto(strList, strFolder)) {
            if (::DeleteFileW(reinterpret_cast<const wchar_t*>(strTemp.c_str()))) continue;
            const DWORD dwError = ::GetLastError();
            if (dwError != ERROR_FILE_NOT_FOUND)
                AfxTraceFailure("DeleteFileW", "a temporary file of an earlier install", dwError);
        }
        return;
    }
    TraceFailure("the restart list kept changing while it was read", ERROR_RETRY);
}

}  // namespace

void CSetupThread::CancelRemovalsAtRestart() {
    // The target folder without its backslash, wide. Its text is fixed and ASCII but for the drive.
    const CWideText folder(m_strTargetDir);
    if (!folder.IsValid()) return;
    const std::u16string strWideFolder(reinterpret_cast<const char16_t*>(static_cast<LPCWSTR>(folder)));

    CRegKeyHandle hKey;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, SESSION_MANAGER_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        hKey.Receive()) != ERROR_SUCCESS)
        return;
    for (const wchar_t* pszValue : RESTART_LISTS) CancelIn(hKey, pszValue, strWideFolder);
}
