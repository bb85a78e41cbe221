// Where Setup takes its source folder from and where it installs.
#include <gtest/gtest.h>

#include <string>

#include "setup/SetupPaths.h"

namespace {
std::string Str(const CString& s) { return std::string(s, s.GetLength()); }
}  // namespace

TEST(SetupFolders, TargetIsOnTheSystemRootsDrive) {
    const struct { const char* root; const char* target; } cases[] = {
        {"D:\\WINDOWS", "D:\\Program Files\\Kelvora\\Pindlemark"},
        {"  E:\\WINNT \t", "E:\\Program Files\\Kelvora\\Pindlemark"},
        {"", "C:\\Program Files\\Kelvora\\Pindlemark"},
        {" F ", "C:\\Program Files\\Kelvora\\Pindlemark"},  // one character names no drive
        {"G:", "G:\\Program Files\\Kelvora\\Pindlemark"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Str(WithTrailingBackslash(InstallFolderForSystemRoot(c.root))), std::string(c.target) + "\\")
            << "system root \"" << c.root << "\"";
}

TEST(SetupFolders, SourceIsTheProgramsFolderWithABackslash) {
    EXPECT_EQ(Str(WithTrailingBackslash(FolderOfModule("E:\\Setup.exe"))), "E:\\");
    EXPECT_EQ(Str(WithTrailingBackslash(FolderOfModule("E:\\disk1\\Setup.exe"))), "E:\\disk1\\");
    EXPECT_EQ(Str(WithTrailingBackslash(FolderOfModule("Setup.exe"))), "Setup.exe\\");
    // "\x95\x5C" is one GBK character whose second byte is that of '\'.
    EXPECT_EQ(Str(WithTrailingBackslash(FolderOfModule("E:\\\x95\x5C\\Setup.exe"))), "E:\\\x95\x5C\\");
    EXPECT_EQ(Str(WithTrailingBackslash(FolderOfModule("E:\\\x95\x5C"))), "E:\\");
}
