// What the restart tests share. A restart test is two phases of one test program, run by
// tests/wine/restart-case.sh with a restart between them: "<Case>.BeforeRestart" leaves its state
// in place (files held by HoldFiles.exe, requests for the next restart), the script ends the Wine
// session and boots it again, then "<Case>.AfterRestart" checks what the restart did. CMake's
// pm_restart_tests registers them, serial and under the install-state lock.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ProgramRuns.h"

// Starts HoldFiles.exe on the paths, and waits until it holds them all (reading, others may only
// read) or has given up. It holds them until the session ends. Empty on success, else what failed.
std::string HoldUntilRestart(const std::vector<std::string>& paths);

// The texts of PendingFileRenameOperations as GBK, in pairs (source, then target or empty);
// none when there is no such value.
std::vector<std::string> PendingRenames();
// The index of the pair whose source is "\??\" + path and whose target is `target` (without its
// "\??\" and "!"; empty for a deletion), letter case aside; -1 when there is none.
int PendingPairIndex(const std::vector<std::string>& pending, const std::string& path,
                     const std::string& target);

// The HKLM RunOnce key and its values (name, command).
extern const char kRunOnceKey[];

// A run that came to its completion view and ended by its finish button, with exit code 0 and no
// crash, after exactly one message box: `notice`.
void ExpectRunWithNotice(const ProgramRun& run, const std::string& notice);

// The install state the program tests start from and leave: no install, no removal batch at work,
// no CAD releases' keys, no RunOnce values of ours.
void ClearInstallState();
