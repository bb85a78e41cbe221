// Which record values the uninstaller hands to the platform.
#include "uninstall/ReplayValues.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/native/StringBytes.h"

TEST(ReplayValues, OnlyFullPathsShorterThanMaxPath) {
    struct Row {
        std::string path;
        BOOL used;
    };
    const Row rows[] = {
        {"C:\\Program Files\\Kelvora\\Pindlemark\\Support", TRUE},
        {"c:/x", TRUE},
        {"Z:\\", TRUE},
        {"\\\\server\\share\\a.dat", TRUE},
        {"C:\\\xD6\xA7\xB3\xD6\\\xCE\xC4\xBC\xFE.txt", TRUE},
        {"", FALSE},                  // would be the current folder for some calls
        {"C:", FALSE},                // drive C's current folder
        {"C:x.txt", FALSE},           // relative to drive C's current folder
        {"\\Windows\\x.dll", FALSE},  // root of whatever drive is current
        {"x.ocx", FALSE},             // LoadLibrary would search the system folders
        {"..\\x", FALSE},
        {"1:\\x", FALSE},
        {"\xD6\xA7:\\x", FALSE},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.used, IsReplayablePath(Text(row.path))) << "'" << row.path << "'";

    std::string path = "C:\\" + std::string(256, 'a');
    ASSERT_EQ(259u, path.size());
    EXPECT_TRUE(IsReplayablePath(path.c_str()));
    path += 'a';
    EXPECT_FALSE(IsReplayablePath(path.c_str())) << "260 bytes do not fit MAX_PATH with the NUL";
    EXPECT_FALSE(IsReplayablePath((path + std::string(40, 'b')).c_str()));
}

TEST(ReplayValues, KeyPathMustNameAKeyBelowTheHive) {
    EXPECT_FALSE(IsReplayableKeyPath(""));
    EXPECT_TRUE(IsReplayableKeyPath("SOFTWARE\\Kelvora\\Pindlemark\\V5"));
    EXPECT_TRUE(IsReplayableKeyPath(std::string(600, 'k').c_str()))
        << "registry paths are not cut at MAX_PATH";
}
