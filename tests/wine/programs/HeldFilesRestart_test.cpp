// The real programs with files that a running CAD program holds, then a restart (the Wine session
// ended and booted again, see RestartPhases.h): what the restart completes. Each case is two
// phases, run by tests/wine/restart-case.sh; the state between them is the install's.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ProgramRuns.h"
#include "RestartPhases.h"
#include "SampleAddOn.h"
#include "support/GbkText.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

namespace {

const char kSetupNotice[] = "部分文件正在使用，安装将在计算机重新启动后完成。";
const char kUninstallNotice[] = "部分文件正在使用，卸载将在计算机重新启动后完成。";
const char kRunOnceGrid[] = "Pindlemark V5 Grid.ocx";
// The files the CAD program holds, relative to the install folder.
const char* const kHeld[] = {"Support\\2004-06\\Quorrel.arx", "Database\\标准.mdb", "Controls\\Grid.ocx"};
// A file held only while the second release installs: the third, installed before the restart,
// replaces it at once, and the second's rename must not put the older copy back at the restart.
const char kHeldOnce[] = "Database\\图库\\机械\\螺栓.dwg";

// The second release's bytes of a held file: the first release's with a tail (a module loads
// with data after its image).
std::string SecondReleaseBytes(const std::string& firstBytes) {
    return firstBytes + "release 2";
}

std::string ThirdReleaseBytes(const std::string& firstBytes) {
    return firstBytes + "release 3";
}

// How many renames at the next restart put a file at `target`.
int RenamesOnto(const std::vector<std::string>& pending, const std::string& target) {
    int count = 0;
    for (size_t i = 0; i + 1 < pending.size(); i += 2) {
        std::string onto = pending[i + 1];
        if (!onto.empty() && onto[0] == '!') onto.erase(0, 1);
        if (onto == "\\??\\" + target) ++count;
    }
    return count;
}

std::string Content(const std::string& path) {
    std::string bytes;
    return ReadBytes(path, bytes) ? bytes : "<unreadable>";
}

// Bytes as a failure message shows them: their size and how they end.
std::string Described(const std::string& bytes) {
    const size_t tail = std::min<size_t>(bytes.size(), 12);
    std::string shown = std::to_string(bytes.size()) + " bytes ending \"";
    for (char ch : bytes.substr(bytes.size() - tail)) shown += (ch >= 0x20 && ch < 0x7F) ? ch : '.';
    return shown + "\"";
}

// Every file below folder (ending with a backslash), as full paths.
void AllFiles(const std::string& folder, std::set<std::string>& files) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Wide(folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = Gbk(data.cFileName);
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            AllFiles(folder + name + "\\", files);
        else
            files.insert(folder + name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

std::set<std::string> RecordedFiles() {
    std::string text;
    std::set<std::string> files;
    if (!ReadBytes(InstallFolder() + "Uninstall.log", text)) return files;
    for (const std::string& line : TextLines(text)) {
        if (line.compare(0, 11, "File Copy: ") == 0) files.insert(line.substr(11));
    }
    return files;
}

std::string Shown(const std::set<std::string>& paths) {
    std::string shown;
    for (const std::string& path : paths) shown += "\n  " + path;
    return shown.empty() ? " none" : shown;
}

}  // namespace

TEST(HeldUpgrade, BeforeRestart) {
    ClearInstallState();
    TempFolder first("held-release1");
    BuildSampleAddOn(first.Path());
    ASSERT_TRUE(RunSetup(first.Path()).completed);
    TempFolder second("held-release2");
    BuildSampleAddOn(second.Path());
    const std::string target = InstallFolder();
    std::vector<std::string> held;
    for (const char* name : kHeld) {
        const std::string bytes = Content(second / name);
        ASSERT_TRUE(WriteBytes(second / name, SecondReleaseBytes(bytes))) << name;
        held.push_back(target + name);
    }
    ASSERT_EQ(HoldUntilRestart(held), "");
    {
        HeldFile once(target + kHeldOnce);
        ASSERT_TRUE(once.Held());
        ExpectRunWithNotice(RunSetup(second.Path()), kSetupNotice);
    }
    ASSERT_EQ(RenamesOnto(PendingRenames(), target + kHeldOnce), 1) << "the second release's rename";

    // A third release before the restart: the file no longer held is copied now, the held ones
    // wait again, each with one rename.
    TempFolder third("held-release3");
    BuildSampleAddOn(third.Path());
    for (const char* name : kHeld) ASSERT_TRUE(WriteBytes(third / name, Content(second / name))) << name;
    ASSERT_TRUE(WriteBytes(third / kHeldOnce, ThirdReleaseBytes(Content(third / kHeldOnce))));
    ExpectRunWithNotice(RunSetup(third.Path()), kSetupNotice);
    EXPECT_TRUE(Content(target + kHeldOnce) == Content(third / kHeldOnce))
        << Described(Content(target + kHeldOnce));
    EXPECT_FALSE(FileExists(target + kHeldOnce + ".pmnew")) << "the second release's copy is left";
    const std::vector<std::string> pending = PendingRenames();
    EXPECT_EQ(RenamesOnto(pending, target + kHeldOnce), 0) << "the second release's rename is left";
    for (const char* name : kHeld) EXPECT_EQ(RenamesOnto(pending, target + name), 1) << name;
    // Setup registered the copy that is there now; after the restart, only regsvr32 can mark it.
    ForgetControlMarker(target + "Controls\\Grid.ocx");
    for (const char* name : kHeld) {
        const std::string wanted = Content(second / name);
        EXPECT_TRUE(Content(target + name) != wanted) << name << " was replaced while held";
        const std::string waiting = Content(target + name + ".pmnew");
        EXPECT_TRUE(waiting == wanted)
            << name << ": " << Described(waiting) << " instead of " << Described(wanted);
    }
    std::string command;
    ASSERT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kRunOnceKey, kRunOnceGrid, command));
    char system[MAX_PATH];
    ASSERT_NE(GetSystemDirectoryA(system, MAX_PATH), 0u);
    EXPECT_EQ(command,
              "\"" + std::string(system) + "\\regsvr32.exe\" /s \"" + target + "Controls\\Grid.ocx\"");
}

TEST(HeldUpgrade, AfterRestart) {
    const std::string target = InstallFolder();
    TempFolder second("held-release2");
    const SampleAddOn addOn = BuildSampleAddOn(second.Path());
    for (const char* name : kHeld) {
        const std::string there = Content(target + name), wanted = SecondReleaseBytes(Content(second / name));
        EXPECT_TRUE(there == wanted) << name << " is not the second release's: " << Described(there)
                                     << " instead of " << Described(wanted);
        EXPECT_FALSE(FileExists(target + name + ".pmnew")) << name;
    }
    const std::string drawing = Content(target + kHeldOnce),
                      newest = ThirdReleaseBytes(Content(second / kHeldOnce));
    EXPECT_TRUE(drawing == newest) << "the restart put an older copy over the third release's: "
                                   << Described(drawing) << " instead of " << Described(newest);
    EXPECT_EQ(ControlMarker(target + "Controls\\Grid.ocx"), "registered")
        << "regsvr32 did not run on the new copy";
    std::string command;
    EXPECT_FALSE(ReadRegString(HKEY_LOCAL_MACHINE, kRunOnceKey, kRunOnceGrid, command)) << command;

    // The record names every file there is, and besides them only the temporary files the
    // restart has moved.
    std::set<std::string> there;
    AllFiles(target, there);
    std::set<std::string> expected = there;
    for (const char* name : kHeld) expected.insert(target + name + ".pmnew");
    const std::set<std::string> recorded = RecordedFiles();
    std::set<std::string> missing, extra;
    std::set_difference(expected.begin(), expected.end(), recorded.begin(), recorded.end(),
                        std::inserter(missing, missing.end()));
    std::set_difference(recorded.begin(), recorded.end(), expected.begin(), expected.end(),
                        std::inserter(extra, extra.end()));
    EXPECT_TRUE(missing.empty()) << "not recorded:" << Shown(missing);
    EXPECT_TRUE(extra.empty()) << "recorded, not there:" << Shown(extra);
    EXPECT_EQ(there.size(), addOn.files.size() + addOn.looseFiles.size() + 1)
        << "files there:" << Shown(there);

    ExpectUninstallFinishes();
    ClearInstallState();
}

TEST(HeldRemoval, BeforeRestart) {
    ClearInstallState();
    TempFolder disk("held-removal");
    BuildSampleAddOn(disk.Path());
    ASSERT_TRUE(RunSetup(disk.Path()).completed);
    const std::string target = InstallFolder();
    ASSERT_EQ(HoldUntilRestart({target + kHeld[0], target + kHeld[1]}), "");

    ExpectRunWithNotice(RunUninstall(), kUninstallNotice);
    EXPECT_TRUE(WaitForRemovalBatch()) << "the removal batch did not end";
    EXPECT_TRUE(FileExists(target + kHeld[0]));
    EXPECT_TRUE(ProductKeysGone());
}

TEST(HeldRemoval, AfterRestart) {
    std::set<std::string> left;
    AllFiles(InstallFolder(), left);
    EXPECT_TRUE(left.empty()) << "left:" << Shown(left);
    EXPECT_FALSE(FileExists(InstallFolder())) << "the install folder is left";
    ClearInstallState();
}
