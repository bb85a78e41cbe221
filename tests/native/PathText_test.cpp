// Paths walked by GBK characters: "\x95\x5C" is one double-byte character whose second byte is
// that of '\', and must never count as a separator.
#include "framework/PathText.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/native/StringBytes.h"

namespace {

struct Row {
    const char* input;
    const char* expected;
};

}  // namespace

TEST(PathText, TrailingBackslashIsAddedUnlessTheLastCharacterIsASeparator) {
    const Row rows[] = {
        {"C:\\a", "C:\\a\\"},
        {"C:\\a\\", "C:\\a\\"},
        {"C:/a/", "C:/a/"},
        {"", "\\"},
        {"C:\\\x95\x5C", "C:\\\x95\x5C\\"},  // ends in a character whose trail byte is 0x5C
        {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\"},
        {"C:\\a\x95", "C:\\a\x95\\"},  // a lead byte alone at the end is a character
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.expected, Bytes(PathWithTrailingBackslash(row.input))) << row.input;
        EXPECT_EQ(Bytes(row.input) == row.expected, PathEndsWithSeparator(row.input) != FALSE) << row.input;
    }
}

TEST(PathText, JoinPutsOneSeparatorBetweenAndDropsAShortFolder) {
    const struct {
        const char* folder;
        const char* name;
        const char* expected;
    } rows[] = {
        {"C:", "Uninstall.log", "Uninstall.log"},  // at most two bytes: dropped
        {"", "name", "name"},
        {"\\", "name", "name"},
        {"ab", "name", "name"},
        {"abc", "name", "abc\\name"},
        {"C:\\", "name", "C:\\name"},
        {"C:\\Program Files\\Kelvora\\Pindlemark\\", "Uninstall.log",
         "C:\\Program Files\\Kelvora\\Pindlemark\\Uninstall.log"},
        {"C:\\Dir", "Support", "C:\\Dir\\Support"},
        {"C:/Dir/", "name", "C:/Dir/name"},
        {"C:\\数据库", "文件.dat", "C:\\数据库\\文件.dat"},
        {"C:\\\x95\x5C", "name", "C:\\\x95\x5C\\name"},  // the 0x5C trail byte is no separator
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, Bytes(JoinPath(row.folder, row.name))) << row.folder << " + " << row.name;
}

TEST(PathText, ParentIsCutAtTheLastRealBackslash) {
    const Row rows[] = {
        {"C:\\a\\b\\Uninstall.exe", "C:\\a\\b"},
        {"C:\\Uninstall.exe", "C:\\"},  // "C:" alone would be drive C's current folder
        {"\\\\server\\share\\Uninstall.exe", "\\\\server\\share"},
        {"C:\\dir\\\x95\x5C.exe", "C:\\dir"},
        {"C:\\\xB0\xB2\xD7\xB0\\\x81\x5C\\u.exe", "C:\\\xB0\xB2\xD7\xB0\\\x81\x5C"},
        {"E:\\\x95\x5C", "E:\\"},
        {"Uninstall.exe", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(row.expected, Bytes(PathParent(row.input))) << row.input;
}

TEST(PathText, LastComponentFollowsTheLastRealBackslash) {
    const Row rows[] = {
        {"C:\\a\\Setup.exe", "Setup.exe"},
        {"Setup.exe", "Setup.exe"},
        {"C:\\a\\", ""},
        {"C:\\\x95\x5C", "\x95\x5C"},
        {"C:\\d\\\x81\x5Cx.exe", "\x81\x5Cx.exe"},
    };
    for (const Row& row : rows) EXPECT_EQ(row.expected, Bytes(PathLastComponent(row.input))) << row.input;
}
