// What the install worker's tests share: a real window of the test thread standing in for the
// install dialog, a message pump that runs while the worker works, and registry helpers.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Wnd.h"

class CSetupThread;

// A top-level window of the test thread. Records every UM_INSTALL_STEP with its two paths, the
// UM_INSTALL_DONE and a WM_CLOSE (which it does not act on).
class InstallWindow {
public:
    InstallWindow();
    ~InstallWindow();
    InstallWindow(const InstallWindow&) = delete;
    InstallWindow& operator=(const InstallWindow&) = delete;

    CWnd* Wnd() { return &m_wnd; }
    HWND Hwnd() const { return m_wnd.m_hWnd; }

    struct Step {
        std::string source;
        std::string target;
    };
    std::vector<Step> steps;
    int doneCount = 0;
    int closeCount = 0;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    CWnd m_wnd;
};

// Runs the worker with the window as its main window and pumps the test thread's messages until
// the worker has ended, then once more for what it posted. onIdle runs between pumps (it may
// look for message boxes). False when the worker did not end within the time.
bool RunWorker(CSetupThread& thread, InstallWindow& window,
               const std::function<void()>& onIdle = std::function<void()>(), DWORD timeoutMs = 60000);

// The install writes fixed keys under HKEY_LOCAL_MACHINE. Tests that write or read them start and
// end without them (CTest runs these tests under a resource lock, never beside each other).
class InstallKeys {
public:
    InstallKeys();
    ~InstallKeys();
    InstallKeys(const InstallKeys&) = delete;
    InstallKeys& operator=(const InstallKeys&) = delete;
};

// A value as the tests see it: type and raw bytes; type REG_NONE with no bytes when missing.
struct RegValue {
    DWORD type = REG_NONE;
    std::string data;
};
RegValue ReadRegValue(HKEY root, const std::string& key, const std::string& name);
bool KeyExists(HKEY root, const std::string& key);
std::string SzData(const std::string& text);  // the bytes of a REG_SZ: the text and its zero
std::string DwordData(DWORD value);

// Names in the order the file search returns them (what the worker copies in).
std::vector<std::string> SearchOrder(const std::string& folder);

// Removes TestControl.ocx's marker for one module path, leaving other tests' markers alone.
void ForgetControlMarker(const std::string& modulePath);

// Wine's help control, a real third-party control of the prefix.
const char* SystemHhctrlPath();
// Registering a copy points the prefix's help control at the copy; this points it back.
void RegisterSystemHhctrl();
