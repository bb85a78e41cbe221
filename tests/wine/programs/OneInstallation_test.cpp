// One installation at a time, with the real programs: a second Setup, a Setup while Uninstall runs,
// an Uninstall while Setup runs, and a Setup while an old removal batch still runs. The later
// program brings the earlier one's window to the front (or waits for the batch) and touches
// nothing; the names the old lock used, held by another program, block nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "record/InstallLock.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

namespace {

const char kWaitingTitle[] = "正在等待其他安装程序结束...";
const DWORD kEndsUntouchedMs = 20000;

class OneInstallation : public InstallStateTest {
protected:
    // A Setup from a disk without "Dunmoor": it stops at its prompt for the missing folder, the
    // last one it copies, and waits there.
    std::unique_ptr<RunningProgram> StartSetupAtItsPrompt(TempFolder& disk, HWND& prompt) {
        BuildSampleAddOn(disk.Path(), {"Dunmoor"});
        std::unique_ptr<RunningProgram> setup(new RunningProgram(disk / "Setup.exe", disk.Path()));
        prompt = WaitForMessageBox(setup->ProcessId(), 60000);
        return setup;
    }
};

// Starts Setup from the folder and expects it to end by itself soon, without a window of its own.
void ExpectSetupEndsUntouched(const std::string& sourceFolder) {
    RunningProgram setup(sourceFolder + "Setup.exe", sourceFolder);
    ASSERT_TRUE(setup.Started());
    DWORD exitCode = 1;
    EXPECT_TRUE(setup.WaitForExit(kEndsUntouchedMs, &exitCode)) << "the later Setup went on";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FindProgramWindow(setup.ProcessId(), ""), nullptr);
}

// A file held open as a running program's own file is: others may read and run it, not delete it.
class ReadSharedHold {
public:
    explicit ReadSharedHold(const std::string& path)
        : m_handle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL)),
          m_error(GetLastError()) {}
    ~ReadSharedHold() {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    ReadSharedHold(const ReadSharedHold&) = delete;
    ReadSharedHold& operator=(const ReadSharedHold&) = delete;
    bool Held() const { return m_handle != INVALID_HANDLE_VALUE; }
    DWORD Error() const { return m_error; }

private:
    HANDLE m_handle;
    DWORD m_error;
};

std::string RecordText() {
    std::string text;
    return ReadBytes(InstallFolder() + "Uninstall.log", text) ? text : "<no record>";
}

}  // namespace

TEST_F(OneInstallation, ASecondSetupBringsTheFirstToTheFrontAndEnds) {
    TempFolder disk("one-setup");
    HWND prompt = NULL;
    std::unique_ptr<RunningProgram> first = StartSetupAtItsPrompt(disk, prompt);
    ASSERT_NE(prompt, nullptr) << "the first Setup did not stop at its prompt";

    ExpectSetupEndsUntouched(disk.Path());
    EXPECT_EQ(GetForegroundWindow(), prompt) << "the first Setup's prompt is not in front";
    EXPECT_FALSE(FileExists(InstallFolder() + "Uninstall.log")) << "the second Setup installed";

    // The first goes on as if nothing had happened.
    ASSERT_TRUE(PressButton(prompt, IDIGNORE));
    HWND done = WaitForWindow(first->ProcessId(), kSetupCompletedTitle, 60000);
    ASSERT_NE(done, nullptr) << "the first Setup did not finish";
    PressButton(done, IDOK);
    EXPECT_TRUE(first->WaitForExit(15000));
    EXPECT_NE(RecordText().find("Uninstall.exe"), std::string::npos) << RecordText();
}

TEST_F(OneInstallation, AnUninstallWhileSetupRunsEndsWithoutAsking) {
    InstallSample();
    if (HasFatalFailure()) return;
    TempFolder disk("one-setup-uninstall");
    HWND prompt = NULL;
    std::unique_ptr<RunningProgram> setup = StartSetupAtItsPrompt(disk, prompt);
    ASSERT_NE(prompt, nullptr);

    RunningProgram uninstall(InstalledUninstaller(), "C:\\");
    DWORD exitCode = 1;
    EXPECT_TRUE(uninstall.WaitForExit(kEndsUntouchedMs, &exitCode))
        << "the uninstaller went on: " << MessageBoxText(WaitForMessageBox(uninstall.ProcessId(), 0));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(GetForegroundWindow(), prompt) << "Setup's prompt is not in front";
    EXPECT_TRUE(FileExists(InstalledUninstaller()));
    EXPECT_FALSE(FileExists(kRemovalBatch));

    ASSERT_TRUE(PressButton(prompt, IDIGNORE));
    HWND done = WaitForWindow(setup->ProcessId(), kSetupCompletedTitle, 60000);
    ASSERT_NE(done, nullptr);
    PressButton(done, IDOK);
    EXPECT_TRUE(setup->WaitForExit(15000));
    EXPECT_NE(RecordText(), "<no record>");
}

TEST_F(OneInstallation, ASetupWhileUninstallAsksOrShowsItsEndEndsUntouched) {
    InstallSample();
    if (HasFatalFailure()) return;
    TempFolder disk("one-uninstall-setup");
    BuildSampleAddOn(disk.Path());
    const std::string record = RecordText();

    RunningProgram uninstall(InstalledUninstaller(), "C:\\");
    HWND confirm = WaitForMessageBox(uninstall.ProcessId(), 30000);
    ASSERT_NE(confirm, nullptr) << "no confirmation";
    {
        SCOPED_TRACE("at the uninstaller's confirmation");
        ExpectSetupEndsUntouched(disk.Path());
        EXPECT_EQ(RecordText(), record) << "Setup wrote its record";
    }

    PressButton(confirm, IDYES);
    HWND dialog = NULL;
    ASSERT_TRUE(WaitUntil(
        [&] {
            dialog = FindProgramWindow(uninstall.ProcessId(), kUninstallTitle);
            return dialog != NULL && ShowsUninstallCompletion(dialog);
        },
        60000))
        << "no completion view";
    {
        // Its batch waits for its end: a new install now would lose its files to it.
        SCOPED_TRACE("at the uninstaller's completion view");
        ExpectSetupEndsUntouched(disk.Path());
        EXPECT_FALSE(FileExists(InstallFolder() + "Uninstall.log"))
            << "Setup installed under the waiting batch";
        EXPECT_FALSE(FileExists(InstallFolder() + "Support")) << "Setup installed under the waiting batch";
    }
    PressButton(dialog, IDOK);
    EXPECT_TRUE(uninstall.WaitForExit(15000));
    ExpectNothingLeft();
}

TEST_F(OneInstallation, ASetupWhileTheRemovalBatchRunsWaitsForItsEnd) {
    InstallSample();
    if (HasFatalFailure()) return;
    // An uninstaller at its end, with the install lock: RemovalProbe.exe in its place starts the
    // batch, which is to delete it and the record, and exits. Held open, it keeps the batch at work
    // (sixty passes) until the test lets it go.
    const std::string record = InstallFolder() + "Uninstall.log";
    ASSERT_TRUE(
        CopyFileA((TestProgramFolder() + "RemovalProbe.exe").c_str(), InstalledUninstaller().c_str(), FALSE));
    TempFolder disk("one-batch-setup");
    BuildSampleAddOn(disk.Path());
    std::unique_ptr<ReadSharedHold> held(new ReadSharedHold(InstalledUninstaller()));
    ASSERT_TRUE(held->Held()) << "error " << held->Error();
    {
        RunningProgram probe(InstalledUninstaller(), "C:\\", "60 0 \"" + record + "\" lock");
        DWORD exitCode = 1;
        ASSERT_TRUE(probe.WaitForExit(30000, &exitCode));
        ASSERT_EQ(exitCode, 0u) << "no batch was started";
    }
    ASSERT_TRUE(FileExists(kRemovalBatch)) << "the batch ended already";

    RunningProgram setup(disk / "Setup.exe", disk.Path());
    HWND waiting = WaitForWindow(setup.ProcessId(), kWaitingTitle, 20000);
    EXPECT_NE(waiting, nullptr) << "Setup does not show that it waits";
    EXPECT_TRUE(FileExists(kRemovalBatch)) << "the batch ended before Setup was seen waiting";
    held.reset();

    HWND done = WaitForWindow(setup.ProcessId(), kSetupCompletedTitle, 120000);
    ASSERT_NE(done, nullptr) << "Setup did not install once the batch had ended";
    EXPECT_FALSE(FileExists(kRemovalBatch)) << "Setup installed while the batch still ran";
    PressButton(done, IDOK);
    EXPECT_TRUE(setup.WaitForExit(15000));
    EXPECT_TRUE(WaitForRemovalBatch());
    // The old batch took nothing of the new install.
    EXPECT_TRUE(FileExists(InstalledUninstaller())) << "the new uninstaller was deleted";
    EXPECT_NE(RecordText().find("Uninstall.exe"), std::string::npos) << RecordText();
    ExpectUninstallFinishes();
}

TEST_F(OneInstallation, TheOldLocksNameHeldByAnotherProgramBlocksNoUninstall) {
    InstallSample();
    if (HasFatalFailure()) return;
    // Any user may create a name in the Global namespace before an elevated program does.
    HANDLE squatted = CreateMutexA(NULL, TRUE, "Global\\Kelvora Pindlemark V5 Uninstall");
    ASSERT_NE(squatted, nullptr) << "error " << GetLastError();
    ExpectUninstallFinishes();
    CloseHandle(squatted);
}

TEST_F(OneInstallation, AHolderWithNoWindowAndNoBatchHoldsNoInstallBack) {
    // As an interpreter left with nothing to run does: the lock held, no window, no batch.
    CInstallLock holder;
    ASSERT_TRUE(holder.TryAcquire());
    TempFolder disk("one-idle-holder");
    BuildSampleAddOn(disk.Path());
    const DWORD start = GetTickCount();
    ProgramRun setup = RunSetup(disk.Path());
    ExpectCleanRun(setup);
    EXPECT_GE(GetTickCount() - start, 4000u) << "Setup did not wait for a holder that might show itself";

    // With a batch at its name, the holder is waited for.
    ASSERT_TRUE(WriteBytes(kRemovalBatch, "rem"));
    RunningProgram uninstall(InstalledUninstaller(), "C:\\");
    HWND box = WaitForMessageBox(uninstall.ProcessId(), 30000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "另一个安装或卸载程序正在运行，请等它结束后再运行本程序。");
    PressButton(box, IDOK);
    EXPECT_TRUE(uninstall.WaitForExit(15000));
    EXPECT_TRUE(FileExists(InstallFolder() + "Uninstall.log")) << "the uninstaller ran under a batch";
    DeleteFileA(kRemovalBatch);
}
