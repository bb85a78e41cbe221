// The test control modules behave as the engine tests rely on.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

TEST(TestControl, ResultAndMarkerFollowTheFileName) {
    TempFolder folder("testcontrol");
    const std::string ok = folder / "ok.ocx", sfalse = folder / "x-sfalse.ocx", fail = folder / "y-fail.ocx";
    for (const std::string& copy : {ok, sfalse, fail})
        ASSERT_WIN32(CopyFileA(TestControlPath().c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(CallEntryPoint(ok, "DllRegisterServer"), S_OK);
    EXPECT_EQ(CallEntryPoint(sfalse, "DllRegisterServer"), S_FALSE);
    EXPECT_EQ(CallEntryPoint(fail, "DllRegisterServer"), E_FAIL);
    EXPECT_EQ(ControlMarker(ok), "registered");
    EXPECT_EQ(CallEntryPoint(ok, "DllUnregisterServer"), S_OK);
    EXPECT_EQ(ControlMarker(ok), "unregistered");
    EXPECT_EQ(ControlMarker(folder / "never.ocx"), "");
    EXPECT_EQ(CallEntryPoint(NoEntryControlPath(), "DllRegisterServer"), kNoEntry);
}
