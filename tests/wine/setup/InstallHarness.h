// What the install worker's tests share: a real window of the test thread standing in for the
// install dialog, and a message pump that runs while the worker works.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/WindowHelpers.h"

class CSetupThread;

// One GBK character whose trail byte is the byte of '\'.
const char kGbk5C[] = "\x95\x5C";

// A hidden top-level window of the test thread (it owns the worker's message boxes). Records every
// UM_INSTALL_STEP with its two paths, the UM_INSTALL_DONE and a WM_CLOSE (which it does not act on).
class InstallWindow {
public:
    InstallWindow();

    CWnd* Wnd() { return m_window.Wnd(); }
    HWND Hwnd() const { return m_window.Handle(); }

    struct Step {
        std::string source;
        std::string target;
    };
    std::vector<Step> steps;
    int doneCount = 0;
    int closeCount = 0;

private:
    HandlerWindow m_window;
};

// Runs the worker from the source folder to the target folder, with the window as its main
// window, and pumps the test thread's messages until the worker has ended, then once more for
// what it posted. onIdle runs between pumps (it may look for message boxes). False when the
// worker did not end within the time.
bool RunInstall(CSetupThread& thread, InstallWindow& window, const std::string& source,
                const std::string& target, const std::function<void()>& onIdle = std::function<void()>(),
                DWORD timeoutMs = 60000);

// The install writes fixed keys under HKEY_LOCAL_MACHINE. Tests that write or read them start and
// end without them (CTest runs these tests under a resource lock, never beside each other).
class InstallKeys {
public:
    InstallKeys();
    ~InstallKeys();
    InstallKeys(const InstallKeys&) = delete;
    InstallKeys& operator=(const InstallKeys&) = delete;
};

// Names in the order the file search returns them (what the worker copies in).
std::vector<std::string> SearchOrder(const std::string& folder);
