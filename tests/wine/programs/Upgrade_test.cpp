// A release installed over an earlier one that had more: what only the earlier release put there
// (a file, a folder, a loose file, a control) goes with the uninstall all the same.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

namespace {

class Upgrade : public InstallStateTest {};

bool HasLine(const std::string& text, const std::string& line) {
    const std::vector<std::string> lines = TextLines(text);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST_F(Upgrade, WhatOnlyTheEarlierReleaseHadGoesWithTheUninstall) {
    const std::string target = InstallFolder();
    TempFolder first("release-1"), second("release-2");
    BuildSampleAddOn(first.Path());
    BuildSampleAddOn(second.Path());
    ASSERT_TRUE(WriteBytes(first / "Support\\old-notes.txt", "v1"));
    ASSERT_TRUE(MakeFolders(first / "Database\\legacy"));
    ASSERT_TRUE(WriteBytes(first / "Database\\legacy\\v1.dat", "v1"));
    ASSERT_TRUE(WriteBytes(first / "readme-v1.txt", "v1"));
    ASSERT_WIN32(CopyFileA(TestControlPath().c_str(), (first / "Controls\\Old.ocx").c_str(), FALSE));

    ExpectCleanRun(RunSetup(first.Path()));
    ASSERT_EQ(ControlMarker(target + "Controls\\Old.ocx"), "registered");
    ExpectCleanRun(RunSetup(second.Path()));

    std::string record;
    ASSERT_TRUE(ReadBytes(target + "Uninstall.log", record));
    for (const std::string& line :
         {"File Copy: " + target + "Support\\old-notes.txt",
          "File Copy: " + target + "Database\\legacy\\v1.dat", "File Copy: " + target + "readme-v1.txt",
          "Made Dir: " + target + "Database\\legacy", "Reg Ctrl: " + target + "Controls\\Old.ocx"})
        EXPECT_TRUE(HasLine(record, line)) << "the new record lost: " << line << "\n" << record;

    ExpectUninstallFinishes();
    EXPECT_EQ(ControlMarker(target + "Controls\\Old.ocx"), "unregistered");
    ForgetControlMarker(target + "Controls\\Old.ocx");
}
