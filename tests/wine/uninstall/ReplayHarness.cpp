#include "ReplayHarness.h"

#include "uninstall/UninstallMessages.h"

namespace {
const char LOG_CLASS[] = "PmUninstallTestLog";

ATOM RegisterLogClass(WNDPROC pfnWndProc) {
    static ATOM s_atom = 0;
    if (s_atom == 0) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = pfnWndProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = LOG_CLASS;
        s_atom = RegisterClassA(&wc);
    }
    return s_atom;
}
}  // namespace

CMessageLog::CMessageLog() {
    RegisterLogClass(&CMessageLog::WndProc);
    m_wnd.m_hWnd =
        CreateWindowExA(0, LOG_CLASS, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, GetModuleHandleA(NULL), NULL);
    SetWindowLongPtrA(m_wnd.m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CMessageLog::~CMessageLog() {
    Destroy();
}

void CMessageLog::Destroy() {
    if (m_wnd.m_hWnd != NULL) DestroyWindow(m_wnd.m_hWnd);
    m_wnd.m_hWnd = NULL;
}

size_t CMessageLog::Count(UINT nMsg) const {
    size_t n = 0;
    for (const LoggedMessage& m : m_messages)
        if (m.nMsg == nMsg) ++n;
    return n;
}

std::vector<std::string> CMessageLog::DeletedPaths() const {
    std::vector<std::string> paths;
    for (const LoggedMessage& m : m_messages)
        if (m.nMsg == UM_FILE_DELETED) paths.push_back(m.strPath);
    return paths;
}

void CMessageLog::Log(UINT nMsg, const std::string& strPath, WPARAM wParam) {
    bool bExists =
        !m_strWatched.empty() && GetFileAttributesA(m_strWatched.c_str()) != INVALID_FILE_ATTRIBUTES;
    m_messages.push_back({nMsg, strPath, bExists, wParam});
}

LRESULT CALLBACK CMessageLog::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    CMessageLog* pLog = reinterpret_cast<CMessageLog*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (pLog != NULL) {
        switch (nMsg) {
        case UM_FILE_DELETED:
            pLog->Log(nMsg, lParam != 0 ? reinterpret_cast<const char*>(lParam) : "<null>");
            return 1;
        case UM_FILES_DONE:
        case UM_UNINSTALL_DONE:
        case UM_TEST_BATCH:
        case UM_TEST_RESTART: pLog->Log(nMsg, std::string(), wParam); return 1;
        case WM_NCDESTROY: SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0); break;
        }
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

BOOL CReplayThread::WriteRemovalBatch() {
    InterlockedIncrement(&m_nBatches);
    if (m_hWndLog != NULL) SendMessageA(m_hWndLog, UM_TEST_BATCH, 0, 0);
    return m_bBatchStarts;
}

BOOL CReplayThread::RemoveAtRestart() {
    if (m_hWndLog != NULL) SendMessageA(m_hWndLog, UM_TEST_RESTART, 0, 0);
    return TRUE;
}

void SetRecord(CUninstallThread& worker, const std::string& strRecord) {
    worker.m_strRecord = CString(strRecord.data(), static_cast<int>(strRecord.size()));
}

bool StartReplay(CReplayThread& worker, CMessageLog* pLog) {
    worker.m_pMainWnd = pLog != NULL ? pLog->Wnd() : NULL;
    worker.m_hWndLog = pLog != NULL ? pLog->Wnd()->m_hWnd : NULL;
    worker.m_bAutoDelete = FALSE;
    return worker.CreateThread() != FALSE;
}

bool RunReplay(CReplayThread& worker, CMessageLog* pLog, DWORD dwTimeout) {
    return StartReplay(worker, pLog) && worker.WaitForExit(dwTimeout) != FALSE;
}

void Pump(DWORD dwMilliseconds) {
    DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= dwMilliseconds) return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, dwMilliseconds - dwElapsed, QS_ALLINPUT);
    }
}

CCurrentFolder::CCurrentFolder(const std::string& strFolder) : m_bSet(false) {
    char szPrevious[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(MAX_PATH, szPrevious);
    if (n == 0 || n >= MAX_PATH) return;
    m_strPrevious = szPrevious;
    char szFull[MAX_PATH];
    n = GetFullPathNameA(strFolder.c_str(), MAX_PATH, szFull, NULL);
    if (n == 0 || n >= MAX_PATH || (szFull[0] != 'C' && szFull[0] != 'c') || szFull[1] != ':') return;
    m_bSet = SetCurrentDirectoryA(szFull) != FALSE;
}

CCurrentFolder::~CCurrentFolder() {
    if (m_bSet) SetCurrentDirectoryA(m_strPrevious.c_str());
}

bool CreateRegKey(HKEY hRoot, const std::string& strPath) {
    HKEY hKey;
    if (RegCreateKeyA(hRoot, strPath.c_str(), &hKey) != ERROR_SUCCESS) return false;
    RegCloseKey(hKey);
    return true;
}

bool RegKeyExists(HKEY hRoot, const std::string& strPath) {
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, strPath.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    RegCloseKey(hKey);
    return true;
}

void DeleteRegTree(HKEY hRoot, const std::string& strPath) {
    if (strPath.empty()) return;  // never the hive itself
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, strPath.c_str(), 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        std::vector<std::string> children;
        char szName[256];
        for (DWORD i = 0;; ++i) {
            DWORD nName = sizeof szName;
            if (RegEnumKeyExA(hKey, i, szName, &nName, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
            children.push_back(szName);
        }
        RegCloseKey(hKey);
        for (const std::string& child : children) DeleteRegTree(hRoot, strPath + "\\" + child);
    }
    RegDeleteKeyA(hRoot, strPath.c_str());
}

std::string UniqueName(const std::string& strPrefix) {
    static unsigned s_nCounter = 0;
    return strPrefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_nCounter);
}
