// Self-removal for real: a program copied into a folder writes and starts "\DelUS.bat" and exits;
// the batch, run by the real command interpreter, deletes the program, its folder if empty, and
// itself.
#include <windows.h>

#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "ReplayHarness.h"
#include "support/AccessList.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"
#include "tests/native/StringBytes.h"
#include "uninstall/RemovalBatchText.h"

namespace {

const char kProbe[] = "RemovalProbe.exe";

class RemovalBatch : public ::testing::Test {
protected:
    void SetUp() override {
        temp.reset(new TempFolder("自删除"));
        // "\DelUS.bat" is relative to the current drive: under Wine, drive Z: is the host's "/".
        current.reset(new CurrentFolder(temp->Path()));
        ASSERT_TRUE(current->IsSet());
        char fullBatch[MAX_PATH];
        ASSERT_NE(GetFullPathNameA(REMOVAL_BATCH_PATH, MAX_PATH, fullBatch, NULL), 0u);
        batch = fullBatch;
        ASSERT_EQ(batch.substr(0, 3), "C:\\");
        DeleteFileA(batch.c_str());
    }

    void TearDown() override {
        // A batch still running is given its time, so that it never outlives the test's lock.
        if (!batch.empty()) WaitUntil([&] { return !FileExists(batch); }, 60000);
        current.reset();
        temp.reset();
    }

    // Copies the probe into folder as Uninstall.exe.
    std::string PlaceProbe(const std::string& folder) {
        CreateDirectoryA(folder.c_str(), NULL);
        std::string exe = folder + "\\Uninstall.exe";
        EXPECT_TRUE(CopyFileA((TestProgramFolder() + kProbe).c_str(), exe.c_str(), FALSE)) << exe;
        return exe;
    }

    // Runs the copy from the temporary folder (on drive C:) and waits for its end, which
    // *ended gets (GetTickCount) when given.
    DWORD RunProbe(const std::string& exe, const std::string& args = "", DWORD* ended = nullptr) {
        RunningProgram probe(exe, temp->Path(), args);
        DWORD code = 0xFFFFFFFF;
        EXPECT_TRUE(probe.Started());
        EXPECT_TRUE(probe.WaitForExit(30000, &code)) << "the probe did not end";
        if (ended) *ended = GetTickCount();
        return code;
    }

    std::string ReadBatchText() {
        std::string text;
        return ReadBytes(batch, text) ? text : std::string();
    }

    std::unique_ptr<TempFolder> temp;
    std::unique_ptr<CurrentFolder> current;
    std::string batch;
};

}  // namespace

TEST_F(RemovalBatch, RemovesTheProgramItsEmptyFolderAndItself) {
    const std::string rootFile = "C:\\Filedelr.avi";
    const bool rootFileWritten = WriteBytes(rootFile, "a user's video");
    const std::string folder = temp->Path() + "安装";
    const std::string exe = PlaceProbe(folder);

    EXPECT_EQ(RunProbe(exe), 0u) << "2: no worker; 4: starting the batch changed the program's priority";
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(exe); }, 60000)) << "the program is still there";
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(batch); }, 30000)) << "the batch did not end";
    EXPECT_FALSE(FileExists(folder));
    EXPECT_TRUE(FileExists(temp->Path())) << "only the program's own folder goes";
    if (rootFileWritten) {
        EXPECT_TRUE(FileExists(rootFile)) << "the batch deleted a file of the drive root";
        DeleteFileA(rootFile.c_str());
    }
}

TEST_F(RemovalBatch, FolderThatStillHoldsAFileStays) {
    const std::string folder = temp->Path() + "kept";
    const std::string exe = PlaceProbe(folder);
    ASSERT_TRUE(WriteBytes(folder + "\\notes.txt", "the user's"));

    EXPECT_EQ(RunProbe(exe, "5"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(batch); }, 60000)) << "the batch did not end";
    EXPECT_FALSE(FileExists(exe));
    EXPECT_TRUE(FileExists(folder + "\\notes.txt"));
}

TEST_F(RemovalBatch, PercentSignsInTheFolderNameNameNothingElse) {
    // Unquoted, "%PM_DECOY%" would expand in the batch and name the decoy folder instead.
    ASSERT_WIN32(SetEnvironmentVariableA("PM_DECOY", "zz"));
    const std::string folder = temp->Path() + "a%PM_DECOY%b 100%";
    const std::string decoy = temp->Path() + "azzb 100";
    const std::string exe = PlaceProbe(folder);
    PlaceProbe(decoy);

    EXPECT_EQ(RunProbe(exe, "5"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(batch); }, 60000)) << "the batch did not end";
    SetEnvironmentVariableA("PM_DECOY", NULL);
    EXPECT_FALSE(FileExists(exe));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_TRUE(FileExists(decoy + "\\Uninstall.exe"));
}

TEST_F(RemovalBatch, WaitsForTheProgramLongerThanItsBoundAfterTheEnd) {
    // One pass after the end, about a second; the program stays five.
    const std::string folder = temp->Path() + "stays";
    const std::string exe = PlaceProbe(folder);
    EXPECT_EQ(RunProbe(exe, "1 5000"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(batch); }, 30000)) << "the batch did not end";
    EXPECT_FALSE(FileExists(exe)) << "the batch gave up while the program still ran";
    EXPECT_FALSE(FileExists(folder));
}

TEST_F(RemovalBatch, ProgramThatCannotBeDeletedEndsTheBatchWithinItsBound) {
    const int passes = 3;
    const std::string folder = temp->Path() + "readonly";
    const std::string exe = PlaceProbe(folder);
    ASSERT_WIN32(SetFileAttributesA(exe.c_str(), FILE_ATTRIBUTE_READONLY));

    DWORD ended = 0;
    EXPECT_EQ(RunProbe(exe, std::to_string(passes), &ended), 0u);
    // While it retries, the batch on disk is exactly the text built for this program.
    std::string onDisk;
    ASSERT_TRUE(ReadBytes(batch, onDisk));
    char system[MAX_PATH];
    ASSERT_NE(GetSystemDirectoryA(system, MAX_PATH), 0u);
    CRemovalBatchPaths paths;
    paths.strExe = exe.c_str();
    paths.strPause = (std::string(system) + "\\ping.exe").c_str();
    paths.strBatch = batch.c_str();
    CString expected;
    CStringArray variables;
    ASSERT_TRUE(BuildRemovalBatch(paths, passes, expected, variables));
    EXPECT_EQ(onDisk, Bytes(expected));

    EXPECT_TRUE(WaitUntil([&] { return !FileExists(batch); }, 60000)) << "the batch never gave up";
    DWORD elapsed = GetTickCount() - ended;
    EXPECT_GE(elapsed, static_cast<DWORD>(passes - 1) * 900)
        << "each pass after the end waits about a second";
    EXPECT_LT(elapsed, static_cast<DWORD>(passes) * 1000 + 20000);
    EXPECT_TRUE(FileExists(exe));
    EXPECT_TRUE(FileExists(folder));
    SetFileAttributesA(exe.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RemovalBatch, PlantedPingIsNeverRunAndTheRecordGoesWithTheProgram) {
    // A "ping" that the batch would find by its bare name, in the drive root and in the folder
    // the uninstaller was started from: it would run elevated, and, called from the batch without
    // "call", never come back.
    const std::string marker = temp->Path() + "planted-ran.txt";
    const std::string plantText = "@echo ran>\"" + marker + "\"\r\n";
    const std::vector<std::string> plants = {"C:\\ping.bat", "C:\\ping.cmd", temp->Path() + "ping.bat",
                                             temp->Path() + "ping.cmd"};
    for (const std::string& planted : plants) ASSERT_TRUE(WriteBytes(planted, plantText)) << planted;
    const std::string folder = temp->Path() + "held";
    const std::string exe = PlaceProbe(folder);
    const std::string record = folder + "\\Uninstall.log";
    ASSERT_TRUE(WriteBytes(record, "File Copy: x\r\n"));
    ASSERT_WIN32(SetFileAttributesA(record.c_str(), FILE_ATTRIBUTE_HIDDEN));

    // Kept undeletable past the program's end, so that the batch pauses once before its next try.
    HANDLE held = CreateFileA(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunProbe(exe, "5 0 " + record), 0u);
    Sleep(1500);
    CloseHandle(held);

    EXPECT_TRUE(WaitUntil([&] { return !FileExists(batch); }, 60000)) << "the batch did not end";
    EXPECT_FALSE(FileExists(marker)) << "a planted ping ran";
    EXPECT_FALSE(FileExists(exe));
    EXPECT_FALSE(FileExists(record)) << "the hidden record stayed";
    EXPECT_FALSE(FileExists(folder));
    for (const std::string& planted : plants) DeleteFileA(planted.c_str());
}

TEST_F(RemovalBatch, OnlySystemAndAdministratorsMayChangeTheBatch) {
    // A batch file already there, which anyone may change (no access list at all), is not reused:
    // a file keeps its own access rights when it is opened again.
    SECURITY_DESCRIPTOR open;
    ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&open, TRUE, NULL, FALSE));
    SECURITY_ATTRIBUTES sa = {sizeof sa, &open, FALSE};
    HANDLE oldBatch = CreateFileA(batch.c_str(), GENERIC_WRITE, 0, &sa, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(oldBatch, INVALID_HANDLE_VALUE);
    CloseHandle(oldBatch);

    const std::string exe = PlaceProbe(temp->Path() + "acl");
    RunningProgram probe(exe, temp->Path(), "3 4000");
    ASSERT_TRUE(WaitUntil([&] { return ReadBatchText().find("DelUSExe") != std::string::npos; }, 20000))
        << "the batch was not written";

    std::vector<BYTE> sd(4096);
    DWORD needed = 0;
    ASSERT_TRUE(GetFileSecurityA(batch.c_str(), DACL_SECURITY_INFORMATION | OWNER_SECURITY_INFORMATION,
                                 sd.data(), static_cast<DWORD>(sd.size()), &needed))
        << GetLastError();
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = NULL;
    ASSERT_TRUE(GetSecurityDescriptorDacl(sd.data(), &present, &dacl, &defaulted));
    ASSERT_TRUE(present && dacl != NULL) << "no access list: anyone may change the batch";
    PSID owner = NULL;
    ASSERT_TRUE(GetSecurityDescriptorOwner(sd.data(), &owner, &defaulted));

    // SYSTEM and the Administrators, and no one else (see EntriesForOthers for Wine's own way);
    // the owner is this program's.
    const std::vector<std::string> owners = {"S-1-5-18", "S-1-5-32-544", SidText(CurrentUserSid().data())};
    EXPECT_NE(std::find(owners.begin(), owners.end(), SidText(owner)), owners.end())
        << "owned by " << SidText(owner);
    ASSERT_GT(dacl->AceCount, 0u);
    EXPECT_EQ(EntriesForOthers(dacl), "") << "entries for others, or inherited from the drive root";
    EXPECT_TRUE(probe.WaitForExit(30000));
}
