// Control registration with the test control modules and a real control of the Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include "setup/SetupThread.h"
#include "support/PromptRecorder.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

TEST(RegisterControls, EveryOcxOfTheFolderIsRegisteredAndRecordedWhateverItReturns) {
    TempFolder target("controls");
    const std::string dst = target.Path(), controls = dst + "Controls\\";
    ASSERT_WIN32(CreateDirectoryA(controls.c_str(), NULL));
    ASSERT_WIN32(CreateDirectoryA((controls + "old").c_str(), NULL));
    for (const char* name : {"ok.ocx", "x-sfalse.ocx", "y-fail.ocx", "old\\c.ocx"})
        ASSERT_TRUE(CopyFileA(TestControlPath().c_str(), (controls + name).c_str(), FALSE)) << name;
    ASSERT_WIN32(CopyFileA(NoEntryControlPath().c_str(), (controls + "noentry.ocx").c_str(), FALSE));
    ASSERT_WIN32(CopyFileA(SystemHhctrlPath().c_str(), (controls + "hh.ocx").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(controls + "junk.ocx", "not a module"));
    ASSERT_TRUE(WriteBytes(controls + "readme.txt", ""));

    PromptRecorder prompts;
    CSetupThread thread;
    thread.m_strTargetDir = dst.c_str();
    thread.RegisterControls();
    EXPECT_TRUE(prompts.Prompts().empty()) << "nothing is reported, not even for a broken control";
    EXPECT_EQ(std::string(thread.m_strRecord), "Reg Ctrl: " + controls + "hh.ocx\nReg Ctrl: " + controls +
                                                   "junk.ocx\nReg Ctrl: " + controls +
                                                   "noentry.ocx\n"
                                                   "Reg Ctrl: " +
                                                   controls + "ok.ocx\nReg Ctrl: " + controls +
                                                   "x-sfalse.ocx\nReg Ctrl: " + controls + "y-fail.ocx\n");
    for (const char* name : {"ok.ocx", "x-sfalse.ocx", "y-fail.ocx"})
        EXPECT_EQ(ControlMarker(controls + name), "registered") << name;
    EXPECT_EQ(ControlMarker(controls + "old\\c.ocx"), "") << "subfolders are not searched";

    // Only S_OK counts as registered.
    const struct {
        const char* name;
        BOOL registered;
    } cases[] = {{"ok.ocx", TRUE},       {"hh.ocx", TRUE},    {"x-sfalse.ocx", FALSE}, {"y-fail.ocx", FALSE},
                 {"noentry.ocx", FALSE}, {"junk.ocx", FALSE}, {"missing.ocx", FALSE}};
    for (const auto& row : cases)
        EXPECT_EQ(thread.RegisterControl((controls + row.name).c_str()), row.registered) << row.name;

    RegisterSystemHhctrl();
    for (const char* name : {"ok.ocx", "x-sfalse.ocx", "y-fail.ocx"}) ForgetControlMarker(controls + name);
}
