// Runs of the real programs for the end-to-end and fault tests: a whole install or uninstall
// driven to its end within a time bound, every message box on the way answered and kept, the signs
// of a crash looked for afterwards; and the fixture that leaves no install behind.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "record/ProductKeys.h"
#include "support/TempFolder.h"

extern const char kRemovalBatch[];  // C:\DelUS.bat

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

// Answers one message box of the program while it is up: gets its text (and may act meanwhile,
// such as make room on a disk) and returns the id of the button to press.
typedef std::function<int(const std::string& text)> BoxAnswer;
// As above, with every message box answered by `answer`; the texts are kept in the run's boxes.
ProgramRun RunSetup(const std::string& sourceFolder, const BoxAnswer& answer, DWORD bound = 120000);

// Starts the installed Uninstall.exe (C:\ as current folder, as the batch needs) and answers its
// confirmation with Yes; then waits for the completion view or for the program to end by itself,
// answering every message box with OK, presses "完成" and waits for the end. `bound` limits it.
// The uninstaller run is `exePath` (default: the one in the install folder).
ProgramRun RunUninstall(DWORD bound = 60000, const std::string& exePath = "");

// A run that came to its completion view and ended by its finish button within the bound, with
// exit code 0, no crash and no message box on the way.
void ExpectCleanRun(const ProgramRun& run);

// Starts the installed Uninstall.exe and answers Yes; returns its dialog, or null.
HWND StartConfirmedUninstall(std::unique_ptr<RunningProgram>& program, DWORD bound = 30000);
// The uninstall dialog is in its completion view, "完成" ready to be pressed.
bool ShowsUninstallCompletion(HWND dialog);

// Waits until the self-removal batch has deleted itself and its interpreter has let the install
// lock go. True when both are gone (or never were).
bool WaitForRemovalBatch(DWORD bound = 60000);
// The install lock's file, there while a program or a removal batch holds the lock.
std::string InstallLockFile();

// What shows that a program crashed under Wine: a running winedbg.exe, or a window of its crash
// dialog in any process. Empty when there is none.
std::string CrashEvidence();

// An install made by hand, without Setup: the install folder with a copy of the built
// Uninstall.exe in it, the product key's "installPath" and the uninstall entry, so that
// Uninstall.exe finds whatever record the test writes next to it.
void MakeHandMadeInstall();

// The fixture of the tests that install with the real Setup.exe: no earlier install and no
// removal batch still at work when a test starts; afterwards the install and the CAD releases'
// keys that a test or Setup wrote are gone again.
class InstallStateTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Installs the sample add-on (with that many bulk files more) with the real Setup.exe, from a
    // disk made at the first call.
    void InstallSample(int bulkFiles = 0);

private:
    std::unique_ptr<TempFolder> m_disk;
    int m_diskBulkFiles = 0;
};

// The uninstaller in the install folder.
std::string InstalledUninstaller();
// Neither the product key nor the uninstall entry is there.
bool ProductKeysGone();
// Once the removal batch has ended, nothing of the install is left: neither its folder nor its keys.
void ExpectNothingLeft();
// Runs the installed uninstaller to its end, which shows no message box, then ExpectNothingLeft.
void ExpectUninstallFinishes();

// Creates a folder and the missing folders above it.
bool MakeFolders(const std::string& path);
