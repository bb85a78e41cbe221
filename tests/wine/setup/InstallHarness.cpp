#include "InstallHarness.h"

#include "record/ProductKeys.h"
#include "setup/SetupMessages.h"
#include "setup/SetupThread.h"
#include "support/Registry.h"

InstallWindow::InstallWindow()
    : m_window(
          [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
              switch (message) {
              case UM_INSTALL_STEP:
                  steps.push_back(
                      {reinterpret_cast<const char*>(wParam), reinterpret_cast<const char*>(lParam)});
                  result = 1;
                  return true;
              case UM_INSTALL_DONE:
                  ++doneCount;
                  result = 1;
                  return true;
              case WM_CLOSE: ++closeCount; return true;
              }
              return false;
          },
          HandlerWindow::kTopLevel) {}

bool RunInstall(CSetupThread& thread, InstallWindow& window, const std::string& source,
                const std::string& target, const std::function<void()>& onIdle, DWORD timeoutMs) {
    thread.m_strSourceDir = source.c_str();
    thread.m_strTargetDir = target.c_str();
    thread.m_pMainWnd = window.Wnd();
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
    DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kelvora");
    DeleteRegTree(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY);
    DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    DeleteRegTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
}

InstallKeys::InstallKeys() {
    RemoveInstallKeys();
}

InstallKeys::~InstallKeys() {
    RemoveInstallKeys();
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
