// Files that another process holds open without sharing, while the real programs work: Setup
// cannot replace them and Uninstall cannot delete them. Both leave them to the next restart, say
// so before their finish button, and record or request exactly that; what a restart then does is
// in HeldFilesRestart_test.cpp.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "ProgramRuns.h"
#include "RestartPhases.h"
#include "SampleAddOn.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

namespace {

bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string Content(const std::string& path) {
    std::string bytes;
    return ReadBytes(path, bytes) ? bytes : "<unreadable>";
}

const char kSetupNotice[] = "部分文件正在使用，安装将在计算机重新启动后完成。";
const char kUninstallNotice[] = "部分文件正在使用，卸载将在计算机重新启动后完成。";

class HeldFiles : public InstallStateTest {};

}  // namespace

TEST_F(HeldFiles, SetupReplacesTargetsInUseAtTheNextRestart) {
    TempFolder disk("held-disk");
    BuildSampleAddOn(disk.Path());
    const std::string target = InstallFolder();
    // A file of an install folder and a loose file, there before the install and held open.
    ASSERT_TRUE(MakeFolders(target + "Support"));
    ASSERT_TRUE(WriteBytes(target + "Support\\菜单.mnu", "旧菜单"));
    ASSERT_TRUE(WriteBytes(target + "安装说明.txt", "旧说明"));
    HeldFile menu(target + "Support\\菜单.mnu");
    HeldFile notes(target + "安装说明.txt");
    ASSERT_TRUE(menu.Held() && notes.Held());

    ProgramRun run = RunSetup(disk.Path());
    ExpectRunWithNotice(run, kSetupNotice);
    menu.Release();
    notes.Release();
    RecordProperty("setup_ms", static_cast<int>(run.milliseconds));

    EXPECT_EQ(Content(target + "Support\\菜单.mnu"), "旧菜单");
    EXPECT_EQ(Content(target + "安装说明.txt"), "旧说明");
    EXPECT_EQ(Content(target + "Support\\菜单.mnu.pmnew"), "菜单\r\n") << "the new copy waits beside it";
    EXPECT_EQ(Content(target + "安装说明.txt.pmnew"), "说明");
    EXPECT_EQ(Content(target + "Dunmoor\\readme.txt"), "dunmoor") << "the copy went on past the held files";
    const std::vector<std::string> pending = PendingRenames();
    for (const char* name : {"Support\\菜单.mnu", "安装说明.txt"}) {
        EXPECT_GE(PendingPairIndex(pending, target + name + ".pmnew", target + name), 0)
            << "no rename at the next restart onto " << name << "; pending: " << pending.size() / 2
            << " pairs";
    }
    std::string text;
    ASSERT_TRUE(ReadBytes(target + "Uninstall.log", text));
    std::vector<std::string> lines = TextLines(text);
    for (const char* name : {"Support\\菜单.mnu", "Support\\菜单.mnu.pmnew", "安装说明.txt",
                             "安装说明.txt.pmnew", "Support\\只读.txt", "Uninstall.log"})
        EXPECT_TRUE(Has(lines, std::string("File Copy: ") + target + name)) << name << " is not recorded";
}

TEST_F(HeldFiles, UninstallDeletesFilesInUseAtTheNextRestart) {
    TempFolder disk("held-disk");
    BuildSampleAddOn(disk.Path());
    ProgramRun setup = RunSetup(disk.Path());
    ASSERT_TRUE(setup.completed && setup.exited);
    const std::string target = InstallFolder();
    ASSERT_EQ(ControlMarker(target + "Controls\\Grid.ocx"), "registered");

    // An installed file and an installed control, held open while Uninstall runs.
    HeldFile menu(target + "Support\\菜单.mnu");
    HeldFile grid(target + "Controls\\Grid.ocx");
    ASSERT_TRUE(menu.Held() && grid.Held());
    ProgramRun run = RunUninstall();
    ExpectRunWithNotice(run, kUninstallNotice);
    EXPECT_TRUE(WaitForRemovalBatch()) << "the removal batch did not end";
    menu.Release();
    grid.Release();
    RecordProperty("uninstall_ms", static_cast<int>(run.milliseconds));

    EXPECT_EQ(Content(target + "Support\\菜单.mnu"), "菜单\r\n");
    EXPECT_TRUE(FileExists(target + "Controls\\Grid.ocx"));
    EXPECT_EQ(ControlMarker(target + "Controls\\Grid.ocx"), "registered")
        << "a control that cannot be loaded stays registered";
    // The held files, then the folders that hold them, deepest first, then the install folder, go
    // at the next restart.
    const std::vector<std::string> pending = PendingRenames();
    const std::string folder = target.substr(0, target.size() - 1);
    const int nMenu = PendingPairIndex(pending, target + "Support\\菜单.mnu", "");
    const int nGrid = PendingPairIndex(pending, target + "Controls\\Grid.ocx", "");
    const int nSupport = PendingPairIndex(pending, target + "Support", "");
    const int nControls = PendingPairIndex(pending, target + "Controls", "");
    const int nFolder = PendingPairIndex(pending, folder, "");
    EXPECT_TRUE(nMenu >= 0 && nGrid >= 0) << "files " << nMenu << ", " << nGrid;
    EXPECT_TRUE(nMenu < nSupport && nGrid < nControls) << "folders " << nSupport << ", " << nControls;
    EXPECT_EQ(nFolder, static_cast<int>(pending.size() / 2) - 1) << "the install folder is not the last";
    EXPECT_EQ(PendingPairIndex(pending, target + "Database", ""), -1) << "a folder that went now";
    // Everything else went; the folders that still hold a file stay until then, and so does the
    // install folder above them, which the batch could not remove.
    EXPECT_FALSE(FileExists(target + "Support\\只读.txt"));
    EXPECT_FALSE(FileExists(target + "Support\\2000-02"));
    EXPECT_FALSE(FileExists(target + "Controls\\说明.txt"));
    EXPECT_FALSE(FileExists(target + "Database"));
    EXPECT_FALSE(FileExists(target + "Dunmoor"));
    EXPECT_FALSE(FileExists(target + "Uninstall.log"));
    EXPECT_FALSE(FileExists(target + "Uninstall.exe")) << "the batch deleted the program";
    EXPECT_TRUE(FileExists(target + "Support"));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY));
}
