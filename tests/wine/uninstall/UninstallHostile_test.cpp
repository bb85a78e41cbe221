// Damaged and hostile install records: the worker touches nothing but the paths and keys that
// the records name in full, and goes on.
#include <windows.h>

#include <gtest/gtest.h>

#include "ReplayHarness.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"
#include "uninstall/UninstallMessages.h"

TEST(UninstallHostile, ValuesThatNameNothingInFullAreLeftAlone) {
    TempFolder temp("hostile");
    // Things that an empty or relative value could reach through the current folder, and that
    // a control record naming a bare module could reach through the module search path.
    const std::string cwd = temp / "cwd";
    ASSERT_WIN32(CreateDirectoryA(cwd.c_str(), NULL));
    ASSERT_WIN32(CreateDirectoryA((cwd + "\\rel-dir").c_str(), NULL));
    ASSERT_WIN32(CreateDirectoryA((cwd + "\\empty").c_str(), NULL));
    ASSERT_TRUE(WriteBytes(cwd + "\\rel.txt", "relative"));
    ASSERT_WIN32(CopyFileA(TestControlPath().c_str(), (cwd + "\\rel.ocx").c_str(), FALSE));
    CurrentFolder current(cwd + "\\empty");
    ASSERT_TRUE(current.IsSet());

    // Values of 300 bytes whose first 259 bytes, the most a MAX_PATH buffer holds, name an
    // existing file, folder and control: cutting the value would hit them.
    const std::string longFile = PathOfLength(temp.Path(), MAX_PATH - 1, 'f');
    const std::string longCtl = PathOfLength(temp.Path(), MAX_PATH - 1, 'c', ".ocx");
    const std::string longDir = PathOfLength(temp.Path(), MAX_PATH - 1, 'd');
    ASSERT_TRUE(WriteBytes(longFile, "long"));
    ASSERT_WIN32(CopyFileA(TestControlPath().c_str(), longCtl.c_str(), FALSE));
    const bool longDirMade = CreateDirectoryA(longDir.c_str(), NULL) != FALSE;  // beyond Windows' own limit
    const std::string tooLong(41, 'x');

    const std::string keys = "Software\\PindlemarkTests\\" + UniqueName("Hostile");
    const std::string noComma = UniqueName("PmNoComma");
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, keys + "\\Kept"));
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_CONFIG, noComma));
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, noComma));

    const std::string mid = temp / "mid.txt";
    const std::string last = temp / "last.txt";
    const std::string noBlank = temp / "noblank.txt";
    const std::string lower = temp / "lower.txt";
    for (const std::string& file : {mid, last, noBlank, lower}) ASSERT_TRUE(WriteBytes(file, "x"));

    const std::string record =
        "File Copy: " + longFile + tooLong + "\n" + "Made Dir: " + longDir + tooLong + "\n" +
        "Reg Ctrl: " + longCtl + tooLong + "\n" +
        "File Copy: \nMade Dir: \nReg Ctrl: \nRegDB Key: \nRegDB Key: 1,\nRegDB Key: 4,\nRegDB Key: ,\n" +
        "File Copy: ..\\rel.txt\nMade Dir: ..\\rel-dir\nReg Ctrl: ..\\rel.ocx\nReg Ctrl: TestControl.ocx\n" +
        "Made Dir: .\nMade Dir: C:\nFile Copy: C:..\\rel.txt\n" + "RegDB Key: " + noComma + "\n" +
        "RegDB Key: 1" + keys + "\n" + "RegDB Key: 1,\\" + keys + "\\Kept\n" +
        "\x81\x82\xff\xfe\x01 junk \x80\n\n" + "File Copy:" + noBlank + "\n" + "file copy: " + lower + "\n" +
        "some text before File Copy: " + mid + "\n" +
        "File Copy: " + last;  // no line end after the last record

    ReplayThread worker;
    SetRecord(worker, record);
    MessageLog log;
    ASSERT_TRUE(RunReplay(worker, &log));

    EXPECT_EQ(log.DeletedPaths(),
              (std::vector<std::string>{longFile + tooLong, "", "..\\rel.txt", "C:..\\rel.txt", mid, last}))
        << "one report per file record, each with its whole value";
    EXPECT_EQ(log.Count(UM_UNINSTALL_DONE), 1u) << "the stages go on past every bad record";

    EXPECT_TRUE(FileExists(longFile));
    EXPECT_TRUE(FileExists(longCtl));
    EXPECT_EQ(ControlMarker(longCtl), "");
    if (longDirMade) {
        EXPECT_TRUE(FileExists(longDir));
    }
    for (const char* name : {"\\rel-dir", "\\empty", "\\rel.txt", "\\rel.ocx"})
        EXPECT_TRUE(FileExists(cwd + name)) << name;
    EXPECT_EQ(ControlMarker(cwd + "\\rel.ocx"), "");
    EXPECT_EQ(ControlMarker(TestControlPath()), "")
        << "a bare module name must not load from the search path";
    EXPECT_TRUE(FileExists(TestControlPath()));

    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_CONFIG, noComma));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, noComma));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, keys + "\\Kept"));

    EXPECT_FALSE(FileExists(mid)) << "a tag is a tag wherever it stands in its line";
    EXPECT_TRUE(FileExists(last)) << "a value without its line end may be cut off: reported, not used";
    EXPECT_TRUE(FileExists(noBlank));
    EXPECT_TRUE(FileExists(lower));

    DeleteRegTree(HKEY_CURRENT_USER, keys);
    DeleteRegTree(HKEY_CURRENT_CONFIG, noComma);
    DeleteRegTree(HKEY_CURRENT_USER, noComma);
}
