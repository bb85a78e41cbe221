// The real Uninstall.exe replaying record files written by hand next to it: a well-formed record
// is obeyed; a cut, binary, unterminated or over-long one never makes it crash or hang, and it
// touches nothing that only a piece of a value names. Beside each damaged value lies a sentinel
// (file, folder, control or key) named exactly by the piece that a careless reader would use.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

namespace {

const char kKeys[] = "SOFTWARE\\PindlemarkTests\\Faults";  // the tests' own keys, HKLM and HKCU
const DWORD kBound = 60000;                                // a run that takes longer than this counts as hung

std::string Crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

class HostileRecord : public ::testing::Test {
protected:
    void SetUp() override {
        WaitForRemovalBatch(30000);
        DeleteFileA(kRemovalBatch);
        DeleteRegTree(HKEY_LOCAL_MACHINE, kKeys);
        DeleteRegTree(HKEY_CURRENT_USER, kKeys);
        MakeHandMadeInstall();
        ASSERT_TRUE(FileExists(InstallFolder() + "Uninstall.exe"));
    }
    void TearDown() override {
        WaitForRemovalBatch(30000);
        RemoveEarlierInstall();
        DeleteRegTree(HKEY_LOCAL_MACHINE, kKeys);
        DeleteRegTree(HKEY_CURRENT_USER, kKeys);
    }

    // Writes the record, runs Uninstall.exe on it and checks that it came to its completion view
    // and ended cleanly within the bound.
    ProgramRun Replay(const std::string& record) {
        EXPECT_TRUE(WriteBytes(InstallFolder() + "Uninstall.log", record));
        ProgramRun run = RunUninstall(kBound);
        ExpectCleanRun(run);
        EXPECT_TRUE(WaitForRemovalBatch(kBound)) << "the removal batch did not end";
        return run;
    }

    // Sentinels that must survive.
    std::string File(const std::string& name, const std::string& content = "sentinel") {
        std::string path = InstallFolder() + name;
        EXPECT_TRUE(WriteBytes(path, content)) << path;
        return path;
    }
    std::string Folder(const std::string& name) {
        std::string path = InstallFolder() + name;
        EXPECT_TRUE(MakeFolders(path)) << path;
        return path;
    }
    std::string Control(const std::string& name) {
        std::string path = InstallFolder() + name;
        if (name.find('\\') != std::string::npos) MakeFolders(path.substr(0, path.rfind('\\')));
        EXPECT_TRUE(CopyFileA(TestControlPath().c_str(), path.c_str(), FALSE)) << path;
        ForgetControlMarker(path);
        return path;
    }
};

}  // namespace

TEST_F(HostileRecord, WellFormedRecordIsObeyed) {
    const std::string target = InstallFolder();
    Folder("数据\\子目录");
    File("数据\\a.txt");
    File("数据\\子目录\\b.dat");
    File("readme.txt");
    Control("控件\\ctl.ocx");
    ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, std::string(kKeys) + "\\Obey"));
    ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, std::string(kKeys) + "\\Other"));
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, std::string(kKeys) + "\\Obey"));

    ProgramRun run = Replay(Crlf({
        "Made Dir: " + target + "数据",
        "File Copy: " + target + "数据\\a.txt",
        "Made Dir: " + target + "数据\\子目录",
        "File Copy: " + target + "数据\\子目录\\b.dat",
        "Made Dir: " + target + "控件",
        "File Copy: " + target + "控件\\ctl.ocx",
        "File Copy: " + target + "Uninstall.exe",
        "File Copy: " + target + "readme.txt",
        "Reg Ctrl: " + target + "控件\\ctl.ocx",
        "RegDB Key: 2," + std::string(kKeys) + "\\Obey",
        "RegDB Key: 1," + std::string(kKeys) + "\\Obey",
        "File Copy: " + target + "Uninstall.log",
    }));

    EXPECT_EQ(ControlMarker(target + "控件\\ctl.ocx"), "unregistered");
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, std::string(kKeys) + "\\Obey"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, std::string(kKeys) + "\\Obey"));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, std::string(kKeys) + "\\Other"))
        << "only the named key goes";
    EXPECT_FALSE(FileExists(target)) << "files, folders, record, and at last the program and its folder";
    RecordProperty("uninstall_ms", static_cast<int>(run.milliseconds));
}

// The record ends in the middle of its last value, as when writing it was cut short: the piece
// names a real thing, which must stay. The complete records before it are still obeyed.
TEST_F(HostileRecord, CutLastValueIsNotUsed) {
    const std::string target = InstallFolder();
    // Each sentinel is the piece of a longer name that the cut value would have had.
    const std::string file = target + "保留.txt";           // of "保留.txt.bak"
    const std::string folder = target + "保留目录";         // of "保留目录2"
    const std::string control = target + "保留.ocx";        // of "保留.ocx.old"
    const std::string key = std::string(kKeys) + "\\Keep";  // of "KeepMe"
    const std::string lineEndFile = target + "保留2.txt";   // cut between CR and LF
    const std::string leadFile = target + "保留";  // of "保留文件", cut after the lead byte of 文 (CE C4)
    struct Cut {
        const char* what;
        std::string lastLine;  // written without a line end
        std::function<bool()> survived;
    };
    const std::vector<Cut> cuts = {
        {"file record", "File Copy: " + file, [=] { return FileExists(file); }},
        {"folder record", "Made Dir: " + folder, [=] { return FileExists(folder); }},
        {"registry-key record", "RegDB Key: 2," + key, [=] { return RegKeyExists(HKEY_LOCAL_MACHINE, key); }},
        {"control record", "Reg Ctrl: " + control,
         [=] { return FileExists(control) && ControlMarker(control).empty(); }},
        {"file record cut in its line end", "File Copy: " + lineEndFile + "\r",
         [=] { return FileExists(lineEndFile); }},
        {"file record cut inside a character", "File Copy: " + leadFile + "\xCE",
         [=] { return FileExists(leadFile); }},
    };

    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.what);
        MakeHandMadeInstall();
        File("保留.txt");
        Folder("保留目录");
        Control("保留.ocx");
        File("保留2.txt");
        File("保留");
        File("完整.txt");
        ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, key));
        Replay(Crlf({"File Copy: " + target + "完整.txt", "File Copy: " + target + "Uninstall.log"}) +
               cut.lastLine);
        EXPECT_FALSE(FileExists(target + "完整.txt")) << "a complete record before the cut is obeyed";
        EXPECT_TRUE(cut.survived()) << "the piece of a cut value was used: " << cut.lastLine;
        RemoveEarlierInstall();
        DeleteRegTree(HKEY_LOCAL_MACHINE, kKeys);
    }
}

// Random bytes with NULs, and records whose values hold a NUL: the part before the NUL names a
// sentinel. A complete record among the bytes is still obeyed.
TEST_F(HostileRecord, BinaryRecordTouchesOnlyCompleteValues) {
    const unsigned seed = GetTickCount();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    auto junk = [&](size_t size) {
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
        return bytes;
    };
    const std::string target = InstallFolder();
    const std::string keepFile = File("二进制.txt");
    const std::string keepFolder = Folder("二进制目录");
    const std::string keepControl = Control("二进制.ocx");
    const std::string keepKey = std::string(kKeys) + "\\BinKeep";
    ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, keepKey));
    const std::string obey = File("二进制-完整.txt");

    // Each piece starts after two line ends, so that no lead byte of the junk before it can
    // take the tag's first byte for its trail byte.
    const std::string sep = "\r\n\r\n";
    std::string record = junk(20000);
    record += sep + "File Copy: " + keepFile + std::string(1, '\0') + "x\r\n" + junk(3000);
    record += sep + "Made Dir: " + keepFolder + std::string(1, '\0') + junk(50) + "\r\n" + junk(3000);
    record += sep + "Reg Ctrl: " + keepControl + std::string(1, '\0') + "\r\n" + junk(3000);
    record += sep + "RegDB Key: 2," + keepKey + std::string(1, '\0') + "Me\r\n" + junk(3000);
    record += sep + "File Copy: " + obey + "\r\n" + junk(20000);
    Replay(record);

    EXPECT_TRUE(FileExists(keepFile));
    EXPECT_TRUE(FileExists(keepFolder));
    EXPECT_TRUE(FileExists(keepControl));
    EXPECT_EQ(ControlMarker(keepControl), "");
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, keepKey));
    EXPECT_FALSE(FileExists(obey)) << "the complete record among the bytes is obeyed";
}

// Records run together without line ends (none at all, or lone CRs): no value is complete.
TEST_F(HostileRecord, RecordsWithoutLineEndsNameNothing) {
    const std::string target = InstallFolder();
    const std::string a = File("无行尾-a.txt"), b = File("无行尾-b.txt"), c = File("无行尾-c.txt");
    const std::string dir = Folder("无行尾目录");
    Replay("File Copy: " + a + "\rMade Dir: " + dir + "\rFile Copy: " + b + "File Copy: " + c);
    for (const std::string& path : {a, b, c, dir}) EXPECT_TRUE(FileExists(path)) << path;
    EXPECT_TRUE(FileExists(target + "Uninstall.log")) << "nothing was named in full, not even the record";
}

// Values longer than MAX_PATH, some much longer: their first 259 (or 247) bytes name sentinels,
// as a copy into a fixed buffer would cut them.
TEST_F(HostileRecord, OverLongValuesAreRefusedWhole) {
    const std::string target = InstallFolder();
    const std::string file = File(PathOfLength(target, MAX_PATH - 1, 'f').substr(target.size()));
    const std::string huge = File(PathOfLength(target, MAX_PATH - 1, 'g').substr(target.size()));
    const std::string control =
        Control(PathOfLength(target, MAX_PATH - 1, 'c', ".ocx").substr(target.size()));
    const std::string folder = Folder(PathOfLength(target, MAX_PATH - 13, 'd').substr(target.size()));
    const std::string keyPiece = std::string(kKeys) + "\\" + std::string(200, 'k');
    ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, keyPiece));
    const std::string obey = File("长-完整.txt");

    ProgramRun run = Replay(Crlf({
        "File Copy: " + file + std::string(41, 'x'),
        "File Copy: " + huge + std::string(100000, 'y'),
        "Made Dir: " + folder + std::string(60, 'z'),
        "Reg Ctrl: " + control + std::string(41, 'x'),
        "RegDB Key: 2," + keyPiece + std::string(5000, 'k'),
        "File Copy: " + obey,
        "File Copy: " + target + "Uninstall.log",
    }));

    for (const std::string& path : {file, huge, control, folder})
        EXPECT_TRUE(FileExists(path)) << path.size();
    EXPECT_EQ(ControlMarker(control), "");
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, keyPiece));
    EXPECT_FALSE(FileExists(obey));
    EXPECT_FALSE(FileExists(target + "Uninstall.log"));
}
