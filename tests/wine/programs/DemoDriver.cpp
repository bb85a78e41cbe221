// tools/demo's hands: runs Setup.exe from the sample add-on's folder, then the installed
// Uninstall.exe. With --auto it answers the dialogs as a user would (pressing the real buttons)
// and saves screenshots; without it the user answers them on the display.
//   demo_driver.exe <add-on folder> [--auto]
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "ProgramDriver.h"
#include "SampleAddOn.h"
#include "uninstall/UninstallResource.h"

namespace {

bool g_auto = false;

int Fail(const char* what) {
    fprintf(stderr, "demo: %s\n", what);
    return 1;
}

int RunSetup(const std::string& disk) {
    printf("demo: running %sSetup.exe\n", disk.c_str());
    fflush(stdout);
    RunningProgram setup(disk + "Setup.exe", disk);
    if (!setup.Started()) return Fail("Setup.exe did not start");
    if (g_auto) {
        HWND dialog = WaitForWindow(setup.ProcessId(), "", 30000);
        if (!dialog) return Fail("no install dialog");
        if (!WaitForTitle(dialog, kSetupCompletedTitle, 120000)) return Fail("the install did not complete");
        SaveScreenshot(dialog, "demo-setup-completed");
        printf("demo: install complete; pressing \"完成\"\n");
        PressButton(dialog, IDOK);
    }
    if (!setup.WaitForExit(g_auto ? 15000 : INFINITE)) return Fail("Setup.exe did not end");
    return 0;
}

int RunUninstall() {
    std::string exe = InstallFolder() + "Uninstall.exe";
    printf("demo: running %s\n", exe.c_str());
    fflush(stdout);
    RunningProgram uninstall(exe, "C:\\");
    if (!uninstall.Started()) return Fail("Uninstall.exe did not start");
    if (g_auto) {
        HWND box = WaitForMessageBox(uninstall.ProcessId(), 30000);
        if (!box) return Fail("no confirmation");
        printf("demo: \"%s\" -> pressing \"是\"\n", MessageBoxText(box).c_str());
        PressButton(box, IDYES);
        HWND dialog = WaitForWindow(uninstall.ProcessId(), kUninstallTitle, 30000);
        if (!dialog) return Fail("no uninstall dialog");
        if (!WaitUntil([&] { return ControlVisible(dialog, IDC_UNINSTALL_DONE_TEXT); }, 120000))
            return Fail("the uninstall did not complete");
        SaveScreenshot(dialog, "demo-uninstall-completed");
        printf("demo: uninstall complete; pressing \"完成\"\n");
        PressButton(dialog, IDOK);
    }
    if (!uninstall.WaitForExit(g_auto ? 15000 : INFINITE)) return Fail("Uninstall.exe did not end");
    printf("demo: waiting for the removal batch\n");
    fflush(stdout);
    if (!WaitUntil([] { return GetFileAttributesA(InstallFolder().c_str()) == INVALID_FILE_ATTRIBUTES; },
                   60000))
        printf("demo: the install folder is still there\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Fail("usage: demo_driver <add-on folder> setup|uninstall [--auto]");
    std::string disk = argv[1];
    if (disk.empty() || disk.back() != '\\') disk += '\\';
    g_auto = argc > 3 && strcmp(argv[3], "--auto") == 0;
    if (strcmp(argv[2], "setup") == 0) return RunSetup(disk);
    if (strcmp(argv[2], "uninstall") == 0) return RunUninstall();
    return Fail("unknown step");
}
