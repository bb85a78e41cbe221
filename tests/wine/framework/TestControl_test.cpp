// The test control modules behave as the engine tests rely on.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "support/TestFiles.h"

namespace {
typedef HRESULT(WINAPI* EntryPoint)();

HRESULT Call(const std::string& module, const char* entry) {
    HMODULE h = LoadLibraryA(module.c_str());
    if (!h) return 0x7fffffff;
    EntryPoint fn = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(h, entry)));
    HRESULT hr = fn ? fn() : 0x7ffffffe;
    FreeLibrary(h);
    return hr;
}
}  // namespace

TEST(TestControl, ResultAndMarkerFollowTheFileName) {
    TempFolder folder("testcontrol");
    const std::string ok = folder / "ok.ocx", sfalse = folder / "x-sfalse.ocx", fail = folder / "y-fail.ocx";
    for (const std::string& copy : {ok, sfalse, fail})
        ASSERT_TRUE(CopyFileA(TestControlPath().c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(Call(ok, "DllRegisterServer"), S_OK);
    EXPECT_EQ(Call(sfalse, "DllRegisterServer"), S_FALSE);
    EXPECT_EQ(Call(fail, "DllRegisterServer"), E_FAIL);
    EXPECT_EQ(ControlMarker(ok), "registered");
    EXPECT_EQ(Call(ok, "DllUnregisterServer"), S_OK);
    EXPECT_EQ(ControlMarker(ok), "unregistered");
    EXPECT_EQ(ControlMarker(folder / "never.ocx"), "");
    EXPECT_EQ(Call(NoEntryControlPath(), "DllRegisterServer"), 0x7ffffffe);
}
