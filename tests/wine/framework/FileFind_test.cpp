#include "framework/FileFind.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/TempFolder.h"
#include "support/Win32Check.h"

TEST(FileFind, WalksEveryEntryAndReportsTheLast) {
    TempFolder folder("find");
    ASSERT_TRUE(WriteBytes(folder / "a.txt", "a"));
    ASSERT_TRUE(WriteBytes(folder / "文件.ocx", "b"));
    ASSERT_WIN32(CreateDirectoryA((folder / "子目录").c_str(), NULL));

    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((folder / "*.*").c_str()));
    std::set<std::string> files, dirs;
    int dots = 0;
    BOOL more = TRUE;
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) {
            ++dots;
            continue;
        }
        EXPECT_EQ(std::string(finder.GetFilePath()), folder / std::string(finder.GetFileName()));
        (finder.IsDirectory() ? dirs : files).insert(std::string(finder.GetFileName()));
    }
    EXPECT_EQ(dots, 2);
    EXPECT_EQ(files, (std::set<std::string>{"a.txt", "文件.ocx"}));
    EXPECT_EQ(dirs, (std::set<std::string>{"子目录"}));
    EXPECT_FALSE(finder.FindNextFile()) << "stays at the end";
}

TEST(FileFind, MissingFolderFindsNothingWithTheSystemsReason) {
    TempFolder folder("find-missing");
    CFileFind finder;
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(finder.FindFile((folder / "nope\\*.*").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(finder.GetFileName().IsEmpty());
}

TEST(FileFind, RootStopsAtTheLastRealBackslashOfAGbkPath) {
    // 0x5C is a valid GBK trail byte: "\x95\x5C" is one character, not a folder separator.
    TempFolder folder("find-dbcs");
    const std::string dir = folder / "\x95\x5C";
    ASSERT_WIN32(CreateDirectoryA(dir.c_str(), NULL));
    ASSERT_TRUE(WriteBytes(dir + "\\x.txt", "x"));
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((dir + "\\x.txt").c_str()));
    finder.FindNextFile();
    EXPECT_EQ(std::string(finder.GetFilePath()), dir + "\\x.txt");
}

TEST(FileFind, MaskMatchesOnlyItsExtension) {
    TempFolder folder("find-mask");
    ASSERT_TRUE(WriteBytes(folder / "a.ocx", ""));
    ASSERT_TRUE(WriteBytes(folder / "b.dll", ""));
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((folder / "*.ocx").c_str()));
    EXPECT_FALSE(finder.FindNextFile()) << "the only match is also the last";
    EXPECT_EQ(std::string(finder.GetFileName()), "a.ocx");
}
