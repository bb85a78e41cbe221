// Where Setup takes its source folder from and where it installs.
#include <gtest/gtest.h>

#include <string>

#include "framework/PathText.h"
#include "record/InstallFolder.h"
#include "tests/native/StringBytes.h"

TEST(SetupFolders, TargetIsOnTheSystemRootsDrive) {
    const struct {
        const char* root;
        const char* target;
    } cases[] = {
        {"D:\\WINDOWS", "D:\\Program Files\\Kelvora\\Pindlemark"},
        {"  E:\\WINNT \t", "E:\\Program Files\\Kelvora\\Pindlemark"},
        {"", "C:\\Program Files\\Kelvora\\Pindlemark"},
        {" F ", "C:\\Program Files\\Kelvora\\Pindlemark"},  // one character names no drive
        {"G:", "G:\\Program Files\\Kelvora\\Pindlemark"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Bytes(InstallFolderForSystemRoot(c.root)), std::string(c.target) + "\\")
            << "system root \"" << c.root << "\"";
}
