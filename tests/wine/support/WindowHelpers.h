// Windows as the tests meet them, of this process or of a program under test: pumping and waiting,
// finding a window or a message box, reading texts, pressing buttons, and a window of the test
// thread that hands its messages to the test.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "framework/Wnd.h"

// Dispatches this thread's messages for the given time (at least one pass).
void PumpMessages(DWORD milliseconds = 0);

// Waits until condition() holds, checking every 20 ms; false when the time ran out first.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(20);
    }
}

// A window's text, also of another process (WM_GETTEXT with a time limit, so that a hung program
// cannot hang the test).
std::string WindowText(HWND window);
// A top-level window's caption as the system keeps it: read without a message, so also from a
// window whose thread does not answer.
std::string Caption(HWND window);
// The process's visible top-level window whose text is `title` (any title when empty), or null.
HWND FindProgramWindow(DWORD processId, const std::string& title);
// The same, waiting for it; null when none appears within the time.
HWND WaitForWindow(DWORD processId, const std::string& title, DWORD milliseconds);
// Waits until the window's text is `title`.
bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds);
// A visible top-level window with this text in any process, or null.
HWND AnyWindowTitled(const std::string& title);
// A message box shown by the process, or null when none appears within the time.
HWND WaitForMessageBox(DWORD processId, DWORD milliseconds);
// The message of a message box (its static text).
std::string MessageBoxText(HWND box);
bool ControlVisible(HWND dialog, int id);
// Presses a button of a dialog or message box as a click would (BM_CLICK, posted: the window's
// own thread handles it). False when the dialog has no such button.
bool PressButton(HWND dialog, int buttonId);
// Waits until a dialog of another thread has handled every message posted to it before: a
// DM_SETDEFID posted behind them shows in DM_GETDEFID only then; the default button is put back
// after. False when the dialog went, or did not get there within the time.
bool DialogHandledItsQueue(HWND dialog, DWORD milliseconds);

// A window of the creating thread that gives every message to a handler first; what the handler
// leaves goes to DefWindowProc. Message-only, or a hidden top-level window where it must own the
// message boxes of a worker that reports to it.
class HandlerWindow {
public:
    // Returns true, with the message's result set, for a message it handled.
    typedef std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> Handler;
    enum Kind { kMessageOnly, kTopLevel };

    explicit HandlerWindow(Handler handler, Kind kind = kMessageOnly);
    ~HandlerWindow();
    HandlerWindow(const HandlerWindow&) = delete;
    HandlerWindow& operator=(const HandlerWindow&) = delete;

    HWND Handle() const { return m_wnd.m_hWnd; }
    // The window as a worker's main window (m_pMainWnd).
    CWnd* Wnd() { return &m_wnd; }
    void Destroy();

private:
    static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    Handler m_handler;
    CWnd m_wnd;
};
