// Runs of the real programs that do not go as planned: an uninstall that ends before its end (as
// a kill or a power cut would end it), an install killed while it copies, a completion view left
// open, an uninstaller that can never be deleted, a program whose path the system gives cut short.
// Whatever happened, running the program again finishes the work and nothing stays behind, and
// the removal batch never strands the user.
//
// The test build of Uninstall.exe (UninstallSeams.exe, the same sources) ends itself where
// PM_UNINSTALL_END_AT asks, and its removal batch gives up after three tries, about two seconds
// after the program's end, instead of two minutes.
#include <windows.h>

#include <gtest/gtest.h>
#include <string.h>
#include <tlhelp32.h>

#include <random>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "Snapshot.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

namespace {

const UINT kEndedAtExitCode = 86;  // what the test build exits with where it ends itself
const DWORD kTestBatchTries = 3;   // REMOVAL_BATCH_PASSES of the test build, a second apart
const DWORD kTestBatchBoundMs = kTestBatchTries * 1000;

bool UseTestBuild() {
    return CopyFileA((TestProgramsFolder() + "UninstallSeams.exe").c_str(), InstalledUninstaller().c_str(),
                     FALSE) != FALSE;
}

bool UseShippedBuild() {
    return CopyFileA((DistFolder() + "Uninstall.exe").c_str(), InstalledUninstaller().c_str(), FALSE) !=
           FALSE;
}

// The running processes that `parent` started.
int ChildProcesses(DWORD parent) {
    int count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ParentProcessID == parent) ++count;
    CloseHandle(snapshot);
    return count;
}

bool WriteFileW(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// The test build ended itself where it was asked to, and the interpreter it started, if any,
// ended with its work.
void ExpectEndedItself(RunningProgram& program) {
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(60000, &exitCode)) << "the test build did not end itself";
    EXPECT_EQ(exitCode, kEndedAtExitCode);
    EXPECT_TRUE(
        WaitUntil([&] { return ChildProcesses(program.ProcessId()) == 0; }, kTestBatchBoundMs + 20000))
        << "the interpreter outlived its work";
}

class UnfinishedRuns : public InstallStateTest {
protected:
    void TearDown() override {
        SetFileAttributesA(InstalledUninstaller().c_str(), FILE_ATTRIBUTE_NORMAL);
        SetEnvironmentVariableA("PM_UNINSTALL_END_AT", NULL);
        SetEnvironmentVariableA("PM_UNINSTALL_FAIL_AT", NULL);
        InstallStateTest::TearDown();
    }
    // Runs the installed uninstaller (the test build) to its completion view and leaves it there.
    HWND UninstallUpToTheCompletionView(std::unique_ptr<RunningProgram>& program) {
        HWND dialog = StartConfirmedUninstall(program);
        if (dialog == NULL) return NULL;
        if (!WaitUntil([&] { return ShowsUninstallCompletion(dialog); }, 60000)) return NULL;
        return dialog;
    }
};

}  // namespace

TEST_F(UnfinishedRuns, UninstallEndedBeforeAnyStageIsFinishedByTheNextRun) {
    // Before the batch, or once the interpreter waits but before the batch is written (the
    // interpreter then finds no batch and ends): the keys are gone by then, and the second run
    // finds the record beside the program.
    for (const char* place : {"controls", "files", "folders", "keys", "batch", "batch-file"}) {
        SCOPED_TRACE(std::string("ended at ") + place);
        InstallSample();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(UseTestBuild());
        ASSERT_WIN32(SetEnvironmentVariableA("PM_UNINSTALL_END_AT", place));
        // Confirmed, then left to end itself, perhaps before its dialog shows.
        std::unique_ptr<RunningProgram> first(new RunningProgram(InstalledUninstaller(), "C:\\"));
        HWND confirm = WaitForMessageBox(first->ProcessId(), 30000);
        SetEnvironmentVariableA("PM_UNINSTALL_END_AT", NULL);
        ASSERT_TRUE(confirm != NULL && PressButton(confirm, IDYES)) << "no confirmation";
        ASSERT_NO_FATAL_FAILURE(ExpectEndedItself(*first));
        EXPECT_TRUE(FileExists(InstallFolder() + "Uninstall.log")) << "the record outlives an early end";
        EXPECT_FALSE(FileExists(kRemovalBatch)) << "a batch that nothing runs";

        ASSERT_TRUE(UseShippedBuild());
        ExpectUninstallFinishes();
        if (HasFailure()) return;
    }
}

TEST_F(UnfinishedRuns, UninstallEndedOnceItsBatchIsWrittenIsFinishedByTheBatch) {
    // Ended once the batch is written, with the record still there or already deleted: the
    // waiting interpreter runs the batch, which takes the program, the record and the folder.
    for (const char* place : {"batch-run", "record"}) {
        SCOPED_TRACE(std::string("ended at ") + place);
        InstallSample();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(UseTestBuild());
        ASSERT_WIN32(SetEnvironmentVariableA("PM_UNINSTALL_END_AT", place));
        std::unique_ptr<RunningProgram> uninstall;
        const bool confirmed = StartConfirmedUninstall(uninstall) != NULL;
        SetEnvironmentVariableA("PM_UNINSTALL_END_AT", NULL);
        ASSERT_TRUE(confirmed) << "no uninstall dialog";
        ASSERT_NO_FATAL_FAILURE(ExpectEndedItself(*uninstall));
        ExpectNothingLeft();
        if (HasFailure()) return;
    }
}

TEST_F(UnfinishedRuns, SetupKilledWhileCopyingThenRunAgainLeavesNoResidue) {
    AddCadRelease(HKEY_LOCAL_MACHINE, "R16.2", "ACAD-4001:804");
    TempFolder disk("killed-setup");
    BuildSampleAddOn(disk.Path(), {}, 1000);
    // Wine's own hhctrl.ocx, which the sample add-on borrows as a control, unregisters the
    // prefix's own help classes when asked to: that is its doing, not the programs'.
    ASSERT_WIN32(DeleteFileA((disk / "Controls\\hhctrl.ocx").c_str()));
    const Snapshot before = TakeSnapshot();

    const unsigned seed = GetTickCount();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    DWORD maxDelay = 1500;
    bool killedWhileCopying = false;
    for (int attempt = 0; attempt < 4 && !killedWhileCopying; ++attempt) {
        RunningProgram setup(disk / "Setup.exe", disk.Path());
        ASSERT_TRUE(setup.Started());
        ASSERT_NE(WaitForWindow(setup.ProcessId(), "", 30000), nullptr);
        Sleep(random() % maxDelay);
        killedWhileCopying = FindProgramWindow(setup.ProcessId(), kSetupCompletedTitle) == NULL &&
                             !FileExists(InstallFolder() + "Uninstall.log");
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, setup.ProcessId());
        ASSERT_NE(process, nullptr);
        TerminateProcess(process, 9);
        CloseHandle(process);
        ASSERT_TRUE(setup.WaitForExit(15000));
        maxDelay /= 2;  // too late: the copy was over
    }
    ASSERT_TRUE(killedWhileCopying) << "every kill came after the copy";
    EXPECT_TRUE(FileExists(InstallFolder() + "Support")) << "the kill came before anything was copied";

    ProgramRun setup = RunSetup(disk.Path());
    ASSERT_TRUE(setup.completed && setup.exited && setup.boxes.empty());
    ProgramRun uninstall = RunUninstall();
    ASSERT_TRUE(uninstall.completed && uninstall.exited);
    ASSERT_TRUE(WaitForRemovalBatch()) << "the removal batch did not end";
    ASSERT_TRUE(WaitUntil([] { return !FileExists(InstallFolder()); }, 30000)) << "the install folder stayed";

    const std::string differences = Differences(before, TakeSnapshot());
    EXPECT_TRUE(differences.empty()) << "what the runs left:\n" << differences;
}

TEST_F(UnfinishedRuns, CompletionViewLeftOpenPastTheBatchBoundStillRemovesEverything) {
    InstallSample();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(UseTestBuild());
    std::unique_ptr<RunningProgram> uninstall;
    HWND dialog = UninstallUpToTheCompletionView(uninstall);
    ASSERT_NE(dialog, nullptr) << "no completion view";
    // The user is away for longer than the batch would try after the program's end.
    Sleep(kTestBatchBoundMs + 5000);
    EXPECT_TRUE(FileExists(kRemovalBatch)) << "the batch ended while the program ran";
    EXPECT_TRUE(FileExists(InstalledUninstaller()));

    ASSERT_TRUE(PressButton(dialog, IDOK));
    ASSERT_TRUE(uninstall->WaitForExit(15000));
    EXPECT_TRUE(WaitUntil([] { return !FileExists(InstallFolder()); }, 30000)) << "the install folder stayed";
    EXPECT_TRUE(WaitForRemovalBatch(30000)) << "the batch did not delete itself";
}

TEST_F(UnfinishedRuns, UninstallerThatCannotBeDeletedEndsItsBatchWithinTheBoundAfterItsEnd) {
    InstallSample();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(UseTestBuild());
    ASSERT_WIN32(SetFileAttributesA(InstalledUninstaller().c_str(), FILE_ATTRIBUTE_READONLY));
    std::unique_ptr<RunningProgram> uninstall;
    HWND dialog = UninstallUpToTheCompletionView(uninstall);
    ASSERT_NE(dialog, nullptr) << "no completion view";

    ASSERT_TRUE(PressButton(dialog, IDOK));
    ASSERT_TRUE(uninstall->WaitForExit(15000));
    const DWORD ended = GetTickCount();
    EXPECT_TRUE(WaitForRemovalBatch(kTestBatchBoundMs + 20000)) << "the batch never gave up";
    const DWORD elapsed = GetTickCount() - ended;
    EXPECT_GE(elapsed, (kTestBatchTries - 1) * 900) << "the batch gave up before its bound";
    EXPECT_TRUE(FileExists(InstalledUninstaller()));
    EXPECT_TRUE(ProductKeysGone());
    printf("undeletable uninstaller: the batch ended %lu ms after the program\n", elapsed);
}

TEST_F(UnfinishedRuns, ModulePathCutShortFindsNoRecord) {
    // No product key, and a program that is not in the fixed install folder: were a record looked
    // for beside the program, this would find one. The system gives a path of
    // 260 bytes or more cut short (at MAX_PATH on Windows, at the character before under Wine),
    // and the cut path names another folder: its parent, or, with nothing left of it, the current
    // folder. A record there must not be replayed.
    TempFolder work("cut-path");
    const std::string victim = work / "victim.txt";
    ASSERT_TRUE(WriteBytes(victim, "must stay"));
    const std::string decoy = "File Copy: " + victim + "\r\n";

    // Under MAX_PATH characters, as Wine starts no program from a longer path, but far over
    // MAX_PATH bytes in the ANSI code page: each of these characters takes two bytes there.
    std::wstring deep = WideText(work.Path());
    for (int level = 0; level < 3; ++level) {
        ASSERT_TRUE(WriteFileW(deep + L"\\Uninstall.log", decoy));
        deep += (level == 0 ? L"" : L"\\") + std::wstring(50, L'\x5378');  // 卸
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    deep += L"\\";
    const std::wstring exe = deep + L"Uninstall.exe";
    ASSERT_LT(exe.size(), static_cast<size_t>(MAX_PATH));
    const int ansiBytes = WideCharToMultiByte(CP_ACP, 0, exe.c_str(), -1, NULL, 0, NULL, NULL) - 1;
    ASSERT_GE(ansiBytes, MAX_PATH) << "the ANSI path must not fit MAX_PATH";
    ASSERT_WIN32(CopyFileW(WideText(DistFolder() + "Uninstall.exe").c_str(), exe.c_str(), FALSE));

    {
        RunningProgram uninstall(exe, WideText(work.Path()));
        ASSERT_TRUE(uninstall.Started()) << "cannot start the program from a long path";
        HWND confirm = WaitForMessageBox(uninstall.ProcessId(), 30000);
        EXPECT_NE(confirm, nullptr);
        if (confirm != NULL) PressButton(confirm, IDYES);
        EXPECT_TRUE(uninstall.WaitForExit(15000)) << "the dialog closes by itself";
        EXPECT_EQ(WaitForMessageBox(uninstall.ProcessId(), 0), nullptr);
    }
    EXPECT_TRUE(FileExists(victim)) << "a record in a folder that the cut path names was replayed";
    EXPECT_FALSE(FileExists(kRemovalBatch));

    // The deep folders, whose ANSI names TempFolder's narrow walk cannot reach.
    DeleteFileW(exe.c_str());
    std::wstring folder = deep.substr(0, deep.size() - 1);
    for (int level = 0; level < 3; ++level) {
        RemoveDirectoryW(folder.c_str());
        folder.erase(folder.rfind(L'\\'));
        DeleteFileW((folder + L"\\Uninstall.log").c_str());
    }
}

TEST_F(UnfinishedRuns, ARecordBesideACopyOfTheUninstallerIsNeverReplayed) {
    // Nothing installed, and a copy of the uninstaller in a folder that any user can write to (a
    // download folder beside Setup.exe), with a record planted beside it that names a file, a key
    // and a control. Run elevated and confirmed, it must find no record, as when there is none.
    TempFolder work("planted-record");
    const std::string victim = work / "victim.txt";
    const std::string control = work / "planted.ocx";
    const std::string key = "SOFTWARE\\PindlemarkTests\\PlantedRecord";
    ASSERT_TRUE(WriteBytes(victim, "must stay"));
    ASSERT_WIN32(CopyFileA(TestControlPath().c_str(), control.c_str(), FALSE));
    ForgetControlMarker(control);
    ASSERT_TRUE(CreateRegKey(HKEY_LOCAL_MACHINE, key));
    ASSERT_TRUE(WriteBytes(work / "Uninstall.log", "File Copy: " + victim + "\r\nRegDB Key: 2," + key +
                                                       "\r\nReg Ctrl: " + control + "\r\n"));
    const std::string exe = work / "Uninstall.exe";
    ASSERT_WIN32(CopyFileA((DistFolder() + "Uninstall.exe").c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(ProductKeysGone());

    {
        RunningProgram uninstall(exe, work.Path());
        ASSERT_TRUE(uninstall.Started());
        HWND confirm = WaitForMessageBox(uninstall.ProcessId(), 30000);
        EXPECT_NE(confirm, nullptr) << "no confirmation";
        if (confirm != NULL) PressButton(confirm, IDYES);
        EXPECT_TRUE(uninstall.WaitForExit(15000)) << "the dialog closes by itself, as with no record";
    }
    EXPECT_TRUE(FileExists(victim)) << "the planted record's file was deleted";
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, key)) << "the planted record's key was deleted";
    EXPECT_EQ(ControlMarker(control), "") << "the planted record's control was loaded and called";
    EXPECT_FALSE(FileExists(kRemovalBatch));
    ForgetControlMarker(control);
    DeleteRegTree(HKEY_LOCAL_MACHINE, key);
}

TEST_F(UnfinishedRuns, SetupFromAPathTheSystemCutsSaysSoAndInstallsNothing) {
    // Setup's source folder is its own: from a path the system gives cut short it would install
    // another folder's files (the parent's, or the drive root's).
    TempFolder work("cut-setup");
    BuildSampleAddOn(work.Path());
    std::wstring deep = WideText(work.Path());
    for (int level = 0; level < 3; ++level) {
        deep += (level == 0 ? L"" : L"\\") + std::wstring(50, L'\x5B89');  // 安
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), NULL) || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    const std::wstring exe = deep + L"\\Setup.exe";
    ASSERT_LT(exe.size(), static_cast<size_t>(MAX_PATH));
    ASSERT_GE(WideCharToMultiByte(CP_ACP, 0, exe.c_str(), -1, NULL, 0, NULL, NULL) - 1, MAX_PATH);
    ASSERT_WIN32(CopyFileW(WideText(DistFolder() + "Setup.exe").c_str(), exe.c_str(), FALSE));

    std::string text, caption;
    bool ended = false;
    {
        RunningProgram setup(exe, WideText(work.Path()));
        ASSERT_TRUE(setup.Started());
        HWND box = WaitForMessageBox(setup.ProcessId(), 30000);
        if (box != NULL) text = MessageBoxText(box);
        if (box != NULL) caption = Caption(box);
        if (box != NULL) PressButton(box, IDOK);
        ended = setup.WaitForExit(15000);
    }
    EXPECT_EQ(text,
              "安装程序所在文件夹的路径太长或含有无法识别的字符，无法安装。\n请将安装文件复制到路径较短的文件"
              "夹中，再运行安装程序。");
    // The application's usual name comes from the very path that failed.
    EXPECT_EQ(caption, "Setup");
    EXPECT_TRUE(ended) << "Setup went on after its message";
    EXPECT_FALSE(FileExists(InstallFolder())) << "something was installed";
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY));

    DeleteFileW(exe.c_str());
    for (int level = 0; level < 3; ++level) {
        RemoveDirectoryW(deep.c_str());
        deep.erase(deep.rfind(L'\\'));
    }
}

TEST_F(UnfinishedRuns, AWorkerThatCannotStartIsSaidAndNothingIsRemoved) {
    InstallSample();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(UseTestBuild());
    ASSERT_WIN32(SetEnvironmentVariableA("PM_UNINSTALL_FAIL_AT", "worker"));
    RunningProgram uninstall(InstalledUninstaller(), "C:\\");
    HWND confirm = WaitForMessageBox(uninstall.ProcessId(), 30000);
    SetEnvironmentVariableA("PM_UNINSTALL_FAIL_AT", NULL);
    ASSERT_TRUE(confirm != NULL && PressButton(confirm, IDYES)) << "no confirmation";
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(confirm); }, 10000));

    HWND box = WaitForMessageBox(uninstall.ProcessId(), 30000);
    ASSERT_NE(box, nullptr) << "the user is not told that the uninstall cannot start; the uninstaller "
                            << (uninstall.IsRunning() ? "runs" : "has ended") << ", its dialog "
                            << (FindProgramWindow(uninstall.ProcessId(), kUninstallTitle) ? "shows"
                                                                                          : "is gone");
    char expected[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, ERROR_NOT_ENOUGH_MEMORY,
                   0, expected, sizeof expected, NULL);
    std::string text = expected;
    while (!text.empty() && strchr(" \r\n", text.back())) text.pop_back();
    EXPECT_NE(MessageBoxText(box).find(text), std::string::npos) << "said: " << MessageBoxText(box);
    PressButton(box, IDOK);
    DWORD exitCode = 1;
    EXPECT_TRUE(uninstall.WaitForExit(15000, &exitCode)) << "the uninstaller stays without its worker";
    EXPECT_TRUE(FileExists(InstallFolder() + "Uninstall.log"));
    EXPECT_TRUE(FileExists(InstallFolder() + "Support"));

    ASSERT_TRUE(UseShippedBuild());
    ExpectUninstallFinishes();
}
