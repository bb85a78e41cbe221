// Runs of the real programs for the fault tests: a whole install or uninstall driven to its end
// within a time bound, every message box on the way answered and kept, and the signs of a crash
// looked for afterwards.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "record/ProductKeys.h"
#include "support/TempFolder.h"

extern const char kUninstallTitle[];  // the uninstall dialog's caption
extern const char kSetupCompleted[];  // the install dialog's caption in its completion view
extern const char kRemovalBatch[];    // C:\DelUS.bat

// How one run of a program ended.
struct ProgramRun {
    bool started = false;
    bool completed = false;  // the completion view was seen
    bool exited = false;     // the process ended within the bound
    DWORD exitCode = 0;
    std::vector<std::string> boxes;  // texts of the message boxes answered on the way (OK/Yes)
    std::string crash;               // non-empty: what showed that something crashed
    DWORD milliseconds = 0;          // from the start to the exit, or to giving up
};

// Installs from `sourceFolder` with its Setup.exe: waits for the completion view, answering every
// message box with its first button (OK), presses "完成" and waits for the end. `bound` limits
// the whole run.
ProgramRun RunSetup(const std::string& sourceFolder, DWORD bound = 120000);

// Starts the installed Uninstall.exe (C:\ as current folder, as the batch needs) and answers its
// confirmation with Yes; then waits for the completion view or for the program to end by itself,
// answering every message box with OK, presses "完成" and waits for the end. `bound` limits it.
// The uninstaller run is `exePath` (default: the one in the install folder).
ProgramRun RunUninstall(DWORD bound = 60000, const std::string& exePath = "");

// Starts the installed Uninstall.exe and answers Yes; returns its dialog, or null.
HWND StartConfirmedUninstall(std::unique_ptr<RunningProgram>& program, DWORD bound = 30000);

// Waits until the self-removal batch has deleted itself. True when it is gone (or never was).
bool WaitForRemovalBatch(DWORD bound = 60000);

// What shows that a program crashed under Wine: a running winedbg.exe, or a window of its crash
// dialog in any process. Empty when there is none.
std::string CrashEvidence();
// A visible top-level window with this caption in any process, or null.
HWND AnyWindowTitled(const std::string& title);

// An install made by hand, without Setup: the install folder with a copy of the built
// Uninstall.exe in it, the product key's "installPath" and the uninstall entry, so that
// Uninstall.exe finds whatever record the test writes next to it.
void MakeHandMadeInstall();

// The fixture of the tests that install with the real Setup.exe: no earlier install and no
// removal batch still at work when a test starts; afterwards the install and the CAD releases'
// keys that Setup wrote are gone again.
class InstallStateTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Installs the sample add-on with the real Setup.exe, from a disk made at the first call.
    void InstallSample();

private:
    std::unique_ptr<TempFolder> disk_;
};

// The uninstaller in the install folder.
std::string InstalledUninstaller();
// Neither the product key nor the uninstall entry is there.
bool ProductKeysGone();
// Once the removal batch has ended, nothing of the install is left: neither its folder nor its keys.
void ExpectNothingLeft();
// Runs the installed uninstaller to its end, which shows no message box, then ExpectNothingLeft.
void ExpectUninstallFinishes();

// Holds a file open with no sharing at all, as another program may.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : m_handle(CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL)) {}
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Release() {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// Creates a folder and the missing folders above it.
bool MakeFolders(const std::string& path);
// The lines of a record file's text, CR LF or LF ended; an unterminated last line is kept.
std::vector<std::string> RecordLines(const std::string& text);
