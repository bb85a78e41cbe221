// Drives a real program of ours the way a user would: starts it, finds its windows, reads them,
// presses their buttons, and photographs them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Where the programs under test were built (Setup.exe and Uninstall.exe side by side).
std::string DistFolder();
// Where the test builds of the programs are (UninstallSeams.exe).
std::string TestProgramsFolder();

class RunningProgram {
public:
    // Starts the program with the given current folder; Started() tells whether it could.
    RunningProgram(const std::string& exePath, const std::string& currentFolder);
    // Ends the program if it still runs, so a failing test leaves nothing behind.
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return m_process != NULL; }
    DWORD ProcessId() const { return m_processId; }
    // True when the program ended within the time; its exit code is then in *exitCode.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr);
    bool IsRunning() const;

private:
    HANDLE m_process = NULL;
    DWORD m_processId = 0;
};

// The program's visible top-level window whose text is `title` (any title when empty), or null
// when none appears within the time.
HWND WaitForWindow(DWORD processId, const std::string& title, DWORD milliseconds);
// A visible top-level window of the process whose text is `title`, right now.
HWND FindProgramWindow(DWORD processId, const std::string& title);
// Waits until the window's text is `title`.
bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds);
// The text of a message box shown by the process (its static text), or "" when none appears.
HWND WaitForMessageBox(DWORD processId, DWORD milliseconds);
std::string MessageBoxText(HWND box);
std::string WindowText(HWND window);
// Presses a button of a dialog or message box as a click would (BM_CLICK).
bool PressButton(HWND dialog, int buttonId);
// Waits until condition() holds, checking every 20 ms.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(20);
    }
}
// The dialog base units of the programs' dialog font ("宋体", 9 points) in this prefix, read from a
// dialog of this process made with that font: x is the average character width, y the height,
// so that a dialog unit is x / 4 pixels wide and y / 8 high.
SIZE DialogFontBaseUnits();
// The pixels of nUnits horizontal (vertical) dialog units, rounded as the system rounds them.
int DialogUnitsToPixelsX(int nUnits);
int DialogUnitsToPixelsY(int nUnits);
// Saves what the screen shows of the window as a 24-bit BMP in build/screenshots (tools/test
// turns them into PNG). Returns the path written, or "" on failure.
std::string SaveScreenshot(HWND window, const std::string& name);
