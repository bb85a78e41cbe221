// Damaged and hostile install records: the worker touches nothing but the paths and keys that
// the records name in full, and goes on.
#include <windows.h>

#include <gtest/gtest.h>

#include "ReplayHarness.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "uninstall/UninstallMessages.h"

TEST(UninstallHostile, ValuesThatNameNothingInFullAreLeftAlone) {
    TempFolder temp("hostile");
    // Things that an empty or relative value could reach through the current folder, and that
    // a control record naming a bare module could reach through the module search path.
    const std::string strCwd = temp / "cwd";
    ASSERT_TRUE(CreateDirectoryA(strCwd.c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((strCwd + "\\rel-dir").c_str(), NULL));
    ASSERT_TRUE(CreateDirectoryA((strCwd + "\\empty").c_str(), NULL));
    ASSERT_TRUE(WriteBytes(strCwd + "\\rel.txt", "relative"));
    ASSERT_TRUE(CopyFileA(TestControlPath().c_str(), (strCwd + "\\rel.ocx").c_str(), FALSE));
    CCurrentFolder current(strCwd + "\\empty");
    ASSERT_TRUE(current.IsSet());

    // Values of 300 bytes whose first 259 bytes, the most a MAX_PATH buffer holds, name an
    // existing file, folder and control: cutting the value would hit them.
    const std::string strLongFile = PathOfLength(temp.Path(), MAX_PATH - 1, 'f');
    const std::string strLongCtl = PathOfLength(temp.Path(), MAX_PATH - 1, 'c', ".ocx");
    const std::string strLongDir = PathOfLength(temp.Path(), MAX_PATH - 1, 'd');
    ASSERT_TRUE(WriteBytes(strLongFile, "long"));
    ASSERT_TRUE(CopyFileA(TestControlPath().c_str(), strLongCtl.c_str(), FALSE));
    const bool bLongDir = CreateDirectoryA(strLongDir.c_str(), NULL) != FALSE;  // beyond Windows' own limit
    const std::string strTooLong(41, 'x');

    const std::string strKeys = "Software\\PindlemarkTests\\" + UniqueName("Hostile");
    const std::string strNoComma = UniqueName("PmNoComma");
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, strKeys + "\\Kept"));
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_CONFIG, strNoComma));
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, strNoComma));

    const std::string strMid = temp / "mid.txt";
    const std::string strLast = temp / "last.txt";
    const std::string strNoBlank = temp / "noblank.txt";
    const std::string strLower = temp / "lower.txt";
    for (const std::string& strFile : {strMid, strLast, strNoBlank, strLower})
        ASSERT_TRUE(WriteBytes(strFile, "x"));

    const std::string strRecord =
        "File Copy: " + strLongFile + strTooLong + "\n" + "Made Dir: " + strLongDir + strTooLong + "\n" +
        "Reg Ctrl: " + strLongCtl + strTooLong + "\n" +
        "File Copy: \nMade Dir: \nReg Ctrl: \nRegDB Key: \nRegDB Key: 1,\nRegDB Key: 4,\nRegDB Key: ,\n" +
        "File Copy: ..\\rel.txt\nMade Dir: ..\\rel-dir\nReg Ctrl: ..\\rel.ocx\nReg Ctrl: TestControl.ocx\n" +
        "Made Dir: .\nMade Dir: C:\nFile Copy: C:..\\rel.txt\n" + "RegDB Key: " + strNoComma + "\n" +
        "RegDB Key: 1" + strKeys + "\n" + "RegDB Key: 1,\\" + strKeys + "\\Kept\n" +
        "\x81\x82\xff\xfe\x01 junk \x80\n\n" + "File Copy:" + strNoBlank + "\n" + "file copy: " + strLower +
        "\n" + "some text before File Copy: " + strMid + "\n" +
        "File Copy: " + strLast;  // no line end after the last record

    CReplayThread worker;
    SetRecord(worker, strRecord);
    CMessageLog log;
    ASSERT_TRUE(RunReplay(worker, &log));

    EXPECT_EQ(log.DeletedPaths(), (std::vector<std::string>{strLongFile + strTooLong, "", "..\\rel.txt",
                                                            "C:..\\rel.txt", strMid, strLast}))
        << "one report per file record, each with its whole value";
    EXPECT_EQ(log.Count(UM_UNINSTALL_DONE), 1u) << "the stages go on past every bad record";

    EXPECT_TRUE(FileExists(strLongFile));
    EXPECT_TRUE(FileExists(strLongCtl));
    EXPECT_EQ(ControlMarker(strLongCtl), "");
    if (bLongDir) {
        EXPECT_TRUE(FileExists(strLongDir));
    }
    for (const char* pszName : {"\\rel-dir", "\\empty", "\\rel.txt", "\\rel.ocx"})
        EXPECT_TRUE(FileExists(strCwd + pszName)) << pszName;
    EXPECT_EQ(ControlMarker(strCwd + "\\rel.ocx"), "");
    EXPECT_EQ(ControlMarker(TestControlPath()), "")
        << "a bare module name must not load from the search path";
    EXPECT_TRUE(FileExists(TestControlPath()));

    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_CONFIG, strNoComma));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, strNoComma));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, strKeys + "\\Kept"));

    EXPECT_FALSE(FileExists(strMid)) << "a tag is a tag wherever it stands in its line";
    EXPECT_TRUE(FileExists(strLast)) << "a value without its line end may be cut off: reported, not used";
    EXPECT_TRUE(FileExists(strNoBlank));
    EXPECT_TRUE(FileExists(strLower));

    DeleteRegTree(HKEY_CURRENT_USER, strKeys);
    DeleteRegTree(HKEY_CURRENT_CONFIG, strNoComma);
    DeleteRegTree(HKEY_CURRENT_USER, strNoComma);
}
