// What the programs pass over without a word to the user (a file not copied or not deleted, a key
// not written, a control that does not register, no removal batch) leaves one line each for
// whoever listens: here a debugger, as a support person's debugger or debug-output viewer would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DebugOutput.h"
#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

namespace {

const char kAcadRelease[] = "SOFTWARE\\Autodesk\\AutoCAD\\R16.2";
const char kAcadProduct[] = "ACAD-4001:804";
// With a held file among what the restart takes, the notice names the held files.
const char kRestartText[] = "部分文件正在使用，卸载将在计算机重新启动后完成。";

// Runs a debugged program to the end: every message box answered with its first button and kept,
// the completion view (whose finish button `completionView` finds) closed.
std::vector<std::string> DriveToEnd(DebuggedProgram& program, const std::string& completedTitle) {
    std::vector<std::string> boxes;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 120000 && !program.WaitForExit(0)) {
        if (HWND box = WaitForMessageBox(program.ProcessId(), 0)) {
            boxes.push_back(MessageBoxText(box));
            if (!PressButton(box, IDYES)) PressButton(box, IDOK);
            WaitUntil([&] { return !IsWindow(box); }, 5000);
            continue;
        }
        HWND dialog = FindProgramWindow(program.ProcessId(), completedTitle);
        if (dialog != NULL && IsWindowEnabled(GetDlgItem(dialog, IDOK)) &&
            IsWindowVisible(GetDlgItem(dialog, IDOK))) {
            PressButton(dialog, IDOK);
            program.WaitForExit(30000);
            break;
        }
        Sleep(20);
    }
    return boxes;
}

// The line that starts with `start`, or "" when there is none.
std::string LineStartingWith(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0) return line;
    return "";
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += "\n    " + line;
    return text;
}

class FailureTrace : public InstallStateTest {
protected:
    void TearDown() override {
        RemoveDirectoryA(kRemovalBatch);
        InstallStateTest::TearDown();
    }
};

}  // namespace

TEST_F(FailureTrace, EachFailurePassedOverLeavesALineForADebugger) {
    TempFolder disk("trace-disk");
    BuildSampleAddOn(disk.Path());
    // A CAD release whose product key is volatile: no key that outlives a restart can be made
    // below it, so writing the add-on's registration there fails.
    WriteRegString(HKEY_LOCAL_MACHINE, kAcadRelease, "CurVer", kAcadProduct);
    HKEY volatileKey = NULL;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kAcadRelease) + "\\" + kAcadProduct).c_str(),
                              0, NULL, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, NULL, &volatileKey, NULL),
              ERROR_SUCCESS);
    RegCloseKey(volatileKey);

    std::vector<std::string> setupLines;
    {
        HeldFile held(disk / "Dunmoor\\readme.txt");
        ASSERT_TRUE(held.Held());
        DebuggedProgram setup(disk / "Setup.exe", disk.Path());
        ASSERT_NE(setup.ProcessId(), 0u) << "Setup.exe did not start under the debugger";
        const std::vector<std::string> boxes = DriveToEnd(setup, "安装完成!");
        EXPECT_TRUE(setup.WaitForExit(0)) << "Setup did not end";
        EXPECT_TRUE(boxes.empty()) << "the user was asked: " << boxes.front();
        setupLines = setup.Lines();
    }
    const std::string target = InstallFolder();
    const std::string copy =
        LineStartingWith(setupLines, "Setup: CopyFileW failed: " + target + "Dunmoor\\readme.txt: error 32");
    const std::string control =
        LineStartingWith(setupLines, "Setup: DllRegisterServer failed: " + target +
                                         "Controls\\Chart-sfalse.ocx: result 0x00000001");
    const std::string key = LineStartingWith(
        setupLines, "Setup: RegSetValueExW failed: HKEY_LOCAL_MACHINE\\Software\\Autodesk\\AutoCAD\\R16.2\\" +
                        std::string(kAcadProduct) + "\\Applications\\Quorrel\\");
    EXPECT_NE(copy, "") << "no line for the file that was not copied:" << Joined(setupLines);
    EXPECT_NE(control, "") << "no line for the control that did not register:" << Joined(setupLines);
    EXPECT_NE(key, "") << "no line for the key that was not written:" << Joined(setupLines);
    EXPECT_NE(key.find("error 1021"), std::string::npos) << key;
    EXPECT_GT(copy.size(), (target + "Dunmoor\\readme.txt: error 32: ").size())
        << "the system's text is missing";

    // Uninstall: a file held open, and a folder where the batch would go.
    std::vector<std::string> uninstallLines;
    {
        HeldFile held(target + "Support\\菜单.mnu");
        ASSERT_TRUE(held.Held());
        ASSERT_WIN32(CreateDirectoryA(kRemovalBatch, NULL));
        DebuggedProgram uninstall(InstalledUninstaller(), "C:\\");
        ASSERT_NE(uninstall.ProcessId(), 0u) << "Uninstall.exe did not start under the debugger";
        const std::vector<std::string> boxes = DriveToEnd(uninstall, kUninstallTitle);
        EXPECT_TRUE(uninstall.WaitForExit(0)) << "Uninstall did not end";
        ASSERT_EQ(boxes.size(), 2u) << "the confirmation and the restart notice";
        EXPECT_EQ(boxes[1], kRestartText);
        uninstallLines = uninstall.Lines();
    }
    EXPECT_NE(LineStartingWith(uninstallLines,
                               "Uninstall: DeleteFileW failed: " + target + "Support\\菜单.mnu: error 32"),
              "")
        << "no line for the file that was not deleted:" << Joined(uninstallLines);
    EXPECT_NE(LineStartingWith(uninstallLines, "Uninstall: removal batch: "), "")
        << "no line for the batch that could not be written:" << Joined(uninstallLines);
    EXPECT_EQ(LineStartingWith(uninstallLines, "Uninstall: DeleteFileW failed: " + target + "Dunmoor"), "")
        << "a file that went is reported:" << Joined(uninstallLines);

    printf("what the debugger saw:%s%s\n", Joined(setupLines).c_str(), Joined(uninstallLines).c_str());

    ASSERT_WIN32(RemoveDirectoryA(kRemovalBatch));
    ExpectUninstallFinishes();
    DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
}
