// Files that another process holds open without sharing, while the real programs work: Setup
// cannot replace them and Uninstall cannot delete them. Both pass over them as designed and reach
// their completion view; what the record then says and what stays is checked after the release.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "ProgramRuns.h"
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

class HeldFiles : public InstallStateTest {};

}  // namespace

TEST_F(HeldFiles, SetupPassesOverTargetsItCannotReplace) {
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
    ExpectCleanRun(run);
    menu.Release();
    notes.Release();
    RecordProperty("setup_ms", static_cast<int>(run.milliseconds));

    EXPECT_EQ(Content(target + "Support\\菜单.mnu"), "旧菜单");
    EXPECT_EQ(Content(target + "安装说明.txt"), "旧说明");
    EXPECT_EQ(Content(target + "Dunmoor\\readme.txt"), "dunmoor") << "the copy went on past the held files";
    std::string text;
    ASSERT_TRUE(ReadBytes(target + "Uninstall.log", text));
    std::vector<std::string> lines = TextLines(text);
    EXPECT_FALSE(Has(lines, "File Copy: " + target + "Support\\菜单.mnu"))
        << "a file not copied is not recorded";
    EXPECT_TRUE(Has(lines, "File Copy: " + target + "Support\\只读.txt"));
    EXPECT_TRUE(Has(lines, "File Copy: " + target + "安装说明.txt"))
        << "a loose file is recorded, copied or not";
    EXPECT_TRUE(Has(lines, "File Copy: " + target + "Uninstall.log"));
}

TEST_F(HeldFiles, UninstallPassesOverFilesInUse) {
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
    ExpectCleanRun(run);
    EXPECT_TRUE(WaitForRemovalBatch()) << "the removal batch did not end";
    menu.Release();
    grid.Release();
    RecordProperty("uninstall_ms", static_cast<int>(run.milliseconds));

    EXPECT_EQ(Content(target + "Support\\菜单.mnu"), "菜单\r\n");
    EXPECT_TRUE(FileExists(target + "Controls\\Grid.ocx"));
    EXPECT_EQ(ControlMarker(target + "Controls\\Grid.ocx"), "registered")
        << "a control that cannot be loaded stays registered";
    // Everything else went; the folders that still hold a file stay, and so does the install
    // folder above them, which the batch could not remove.
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
