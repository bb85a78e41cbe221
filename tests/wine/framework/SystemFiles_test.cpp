// What the elevated programs take from the file system only when no one else can have placed it:
// a file just made that is no link and has no second name.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/FileCalls.h"
#include "support/TempFolder.h"

TEST(PlainFile, ANewFileIsPlainAndOneWithASecondNameIsNot) {
    TempFolder folder("plain-file");
    const std::string made = folder / "made.bat";
    HANDLE file = CreateFileA(made.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, NULL, CREATE_NEW,
                              FILE_FLAG_OPEN_REPARSE_POINT, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    SetLastError(0xdeadbeef);
    EXPECT_TRUE(AfxIsPlainFile(file)) << "a file just made, error " << GetLastError();
    CloseHandle(file);

    // A second name elsewhere (a user's folder) would keep the file, and let its owner read it.
    ASSERT_TRUE(CreateHardLinkA((folder / "second.bat").c_str(), made.c_str(), NULL)) << GetLastError();
    file = CreateFileA(made.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, NULL, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    EXPECT_FALSE(AfxIsPlainFile(file)) << "a file with two names was taken for a plain new file";
    CloseHandle(file);
}
