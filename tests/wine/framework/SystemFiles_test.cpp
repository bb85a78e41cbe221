// What the elevated programs take from the file system only when no one else can have placed it:
// a file just made that is no link and has no second name, and the system DLLs loaded early by
// their full System32 path.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/DllSearch.h"
#include "framework/EarlyLoads.h"
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

TEST(EarlyLoads, EachDllThatSystem32HoldsIsLoadedFromThere) {
    AfxLoadEarlyDlls();
    char system[MAX_PATH];
    ASSERT_NE(GetSystemDirectoryA(system, MAX_PATH), 0u);
    int loaded = 0;
    for (int i = 0; i < EARLY_LOADED_DLL_COUNT; ++i) {
        const std::string name = EARLY_LOADED_DLLS[i];
        const std::string inSystem = std::string(system) + "\\" + name;
        if (GetFileAttributesA(inSystem.c_str()) == INVALID_FILE_ATTRIBUTES) continue;  // not on this system
        HMODULE module = GetModuleHandleA(name.c_str());
        char path[MAX_PATH] = "";
        if (module != NULL) GetModuleFileNameA(module, path, MAX_PATH);
        EXPECT_EQ(lstrcmpiA(path, inSystem.c_str()), 0)
            << name << ": expected loaded from " << inSystem << ", found \"" << path << "\"";
        ++loaded;
    }
    EXPECT_GT(loaded, EARLY_LOADED_DLL_COUNT / 2) << "System32 holds few of the listed DLLs";
}
