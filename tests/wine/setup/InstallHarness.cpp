#include "InstallHarness.h"

#include <shlwapi.h>

#include "setup/SetupMessages.h"
#include "setup/SetupThread.h"

namespace {
const char WINDOW_CLASS[] = "PmInstallTestWindow";
}  // namespace

InstallWindow::InstallWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = WINDOW_CLASS;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    m_wnd.m_hWnd = CreateWindowExA(0, WINDOW_CLASS, "install", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL,
                                   NULL, wc.hInstance, this);
}

InstallWindow::~InstallWindow() {
    if (m_wnd.m_hWnd != NULL) DestroyWindow(m_wnd.m_hWnd);
}

LRESULT CALLBACK InstallWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        SetWindowLongPtrA(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    InstallWindow* self = reinterpret_cast<InstallWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    switch (msg) {
    case UM_INSTALL_STEP:
        self->steps.push_back({reinterpret_cast<const char*>(wParam), reinterpret_cast<const char*>(lParam)});
        return 1;
    case UM_INSTALL_DONE: ++self->doneCount; return 1;
    case WM_CLOSE: ++self->closeCount; return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool RunWorker(CSetupThread& thread, InstallWindow& window, const std::function<void()>& onIdle,
               DWORD timeoutMs) {
    thread.m_pMainWnd = window.Wnd();
    thread.m_bAutoDelete = FALSE;
    if (!thread.CreateThread()) return false;
    const DWORD start = GetTickCount();
    bool ended = false;
    while (!ended && GetTickCount() - start < timeoutMs) {
        HANDLE handle = thread.m_hThread;
        DWORD wait = MsgWaitForMultipleObjects(1, &handle, FALSE, 20, QS_ALLINPUT);
        ended = wait == WAIT_OBJECT_0;
        PumpMessages();
        if (!ended && onIdle) onIdle();
    }
    PumpMessages();
    return ended;
}

// The keys an install creates, the CAD releases' keys of the tests, and their parents.
static void RemoveInstallKeys() {
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kelvora");
    SHDeleteKeyA(HKEY_LOCAL_MACHINE,
                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pindlemark V5");
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    SHDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
}

InstallKeys::InstallKeys() {
    RemoveInstallKeys();
}

InstallKeys::~InstallKeys() {
    RemoveInstallKeys();
}

RegValue ReadRegValue(HKEY root, const std::string& key, const std::string& name) {
    RegValue value;
    HKEY hkey;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &hkey) != ERROR_SUCCESS) return value;
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExA(hkey, name.c_str(), NULL, &type, NULL, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (RegQueryValueExA(hkey, name.c_str(), NULL, &type, reinterpret_cast<BYTE*>(&value.data[0]),
                             &size) == ERROR_SUCCESS) {
            value.type = type;
            value.data.resize(size);
        } else {
            value.data.clear();
        }
    }
    RegCloseKey(hkey);
    return value;
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY hkey;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &hkey) != ERROR_SUCCESS) return false;
    RegCloseKey(hkey);
    return true;
}

std::string SzData(const std::string& text) {
    return text + '\0';
}

std::string DwordData(DWORD value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

std::vector<std::string> SearchOrder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

void ForgetControlMarker(const std::string& modulePath) {
    HKEY hkey;
    const char* markers = "Software\\PindlemarkTests\\Controls";  // see testcontrol/TestControl.cpp
    if (RegOpenKeyExA(HKEY_CURRENT_USER, markers, 0, KEY_SET_VALUE, &hkey) != ERROR_SUCCESS) return;
    RegDeleteValueA(hkey, modulePath.c_str());
    RegCloseKey(hkey);
}

const char* SystemHhctrlPath() {
    return "C:\\windows\\system32\\hhctrl.ocx";
}

void RegisterSystemHhctrl() {
    HMODULE module = LoadLibraryA(SystemHhctrlPath());
    typedef HRESULT(WINAPI * EntryPoint)();
    EntryPoint entry =
        reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    if (entry != NULL) entry();
    FreeLibrary(module);
}
