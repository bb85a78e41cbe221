// tools/release's hands in its trial install: starts Setup.exe from the release folder as a user
// would, and later the uninstaller that the uninstall entry names, as Windows starts it. It
// answers the dialogs by pressing their buttons and saves each completion view as a BMP.
//   release_driver.exe setup <release folder> <screenshot.bmp>
//   release_driver.exe uninstall <screenshot.bmp>
// Exits 0 when the step completed; a prompt of Setup (a missing or uncreatable folder) fails it.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "ProgramDriver.h"
#include "ProgramRuns.h"
#include "support/GbkText.h"
#include "support/Registry.h"
#include "uninstall/UninstallResource.h"

namespace {

const char kUninstallEntry[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pindlemark V5";
const char kProductKey[] = "SOFTWARE\\Kelvora\\Pindlemark\\V5";
const DWORD kStepLimit = 180000;

int Fail(const std::string& what) {
    printf("release: FAILED: %s\n", what.c_str());
    return 1;
}

void Say(const std::string& what) {
    printf("release: %s\n", what.c_str());
    fflush(stdout);
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Photograph(HWND window, const std::string& target) {
    std::string saved = SaveScreenshot(window, "release-" + std::to_string(GetCurrentProcessId()));
    return !saved.empty() && MoveFileExW(Wide(saved).c_str(), Wide(target).c_str(),
                                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
}

int RunSetup(std::string folder, const std::string& screenshot) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    Say("starting " + folder + "Setup.exe");
    RunningProgram setup(folder + "Setup.exe", folder);
    if (!setup.Started()) return Fail("Setup.exe did not start");
    HWND dialog = WaitForWindow(setup.ProcessId(), "", 30000);
    if (!dialog) return Fail("Setup showed no window");
    HWND box = NULL;
    bool done = WaitUntil(
        [&] {
            return WindowText(dialog) == kSetupCompletedTitle ||
                   (box = WaitForMessageBox(setup.ProcessId(), 0));
        },
        kStepLimit);
    if (box) {
        std::string text = MessageBoxText(box);
        PressButton(box, IDABORT);
        PressButton(box, IDCANCEL);
        return Fail("Setup asked: " + text);
    }
    if (!done) return Fail("the install did not complete within 3 minutes");
    Say("install complete (\"" + std::string(kSetupCompletedTitle) + "\")");
    if (!Photograph(dialog, screenshot)) return Fail("no screenshot of the completion view");
    PressButton(dialog, IDOK);
    if (!setup.WaitForExit(15000)) return Fail("Setup.exe did not end after \"完成\"");
    Say("pressed \"完成\"; Setup ended");
    return 0;
}

int RunUninstall(const std::string& screenshot) {
    std::string command, installPath;
    if (!ReadRegString(HKEY_LOCAL_MACHINE, kUninstallEntry, "UninstallString", command) || command.empty())
        return Fail("no UninstallString in the uninstall entry");
    ReadRegString(HKEY_LOCAL_MACHINE, kProductKey, "installPath", installPath);
    // The entry names the program in double quotes, as the system reads a path with blanks.
    std::string program = command;
    if (program[0] == '"') program = program.substr(1, program.find('"', 1) - 1);
    Say("starting the uninstall entry's command " + command);
    RunningProgram uninstall(program, "C:\\");
    if (!uninstall.Started()) return Fail("the uninstaller did not start");
    HWND box = WaitForMessageBox(uninstall.ProcessId(), 30000);
    if (!box) return Fail("no confirmation");
    // The box is found as soon as it exists; its text may come a moment later.
    WaitUntil([&] { return !MessageBoxText(box).empty(); }, 5000);
    Say("\"" + MessageBoxText(box) + "\" -> \"是\"");
    PressButton(box, IDYES);
    HWND dialog = WaitForWindow(uninstall.ProcessId(), kUninstallTitle, 30000);
    if (!dialog) return Fail("no uninstall dialog");
    if (!WaitUntil([&] { return ControlVisible(dialog, IDC_UNINSTALL_DONE_TEXT); }, kStepLimit))
        return Fail("the uninstall did not complete within 3 minutes");
    Say("uninstall complete");
    if (!Photograph(dialog, screenshot)) return Fail("no screenshot of the completion view");
    PressButton(dialog, IDOK);
    if (!uninstall.WaitForExit(15000)) return Fail("the uninstaller did not end after \"完成\"");
    Say("pressed \"完成\"; the uninstaller ended; waiting for its removal batch");
    bool removed = WaitUntil(
        [&] {
            // The batch's interpreter lets the install lock go a moment after the batch is gone.
            return !Exists(kRemovalBatch) && !Exists(InstallLockFile()) &&
                   (installPath.empty() || !Exists(installPath));
        },
        60000);
    if (!removed) return Fail("the removal batch did not remove " + installPath + " within a minute");
    Say("the removal batch removed " + installPath + " and itself");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "setup") == 0) return RunSetup(argv[2], argv[3]);
    if (argc == 3 && strcmp(argv[1], "uninstall") == 0) return RunUninstall(argv[2]);
    fprintf(stderr,
            "usage: release_driver setup <release folder> <screenshot.bmp> | uninstall <screenshot.bmp>\n");
    return 2;
}
