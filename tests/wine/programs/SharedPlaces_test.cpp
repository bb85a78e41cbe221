// The places the programs share with others and with each other: a drive root where anyone may
// make a folder named like the removal batch, the system's list of deletions at the next restart,
// and a second uninstaller started while the first still runs. Whatever happens, the user's
// uninstall can be finished and nothing is left behind.
#include <windows.h>

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <memory>
#include <string>
#include <vector>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

namespace {

const char kRestartText[] = "卸载程序及其文件夹将在计算机重新启动后删除。";
const DWORD kTestBatchBoundMs = 3 * 1000;  // the test build's batch gives up three tries after the end
const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kRestartList[] = L"PendingFileRenameOperations";

// The sources of the deletions at the next restart, lower-cased ASCII, without "\??\".
std::vector<std::string> RestartDeletions() {
    std::vector<std::string> sources;
    HKEY key = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return sources;
    std::vector<wchar_t> data(32768, L'\0');
    DWORD bytes = static_cast<DWORD>((data.size() - 2) * sizeof(wchar_t));
    const bool read = RegQueryValueExW(key, kRestartList, NULL, NULL, reinterpret_cast<BYTE*>(data.data()),
                                       &bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!read) return sources;
    std::vector<std::wstring> texts;
    for (size_t at = 0; at < bytes / sizeof(wchar_t);) {
        std::wstring text(&data[at]);
        texts.push_back(text);
        at += text.size() + 1;
    }
    for (size_t i = 0; i + 1 < texts.size(); i += 2) {
        if (!texts[i + 1].empty() || texts[i].empty()) continue;
        std::string source;
        for (wchar_t ch : texts[i].compare(0, 4, L"\\??\\") == 0 ? texts[i].substr(4) : texts[i])
            source += static_cast<char>(ch < 0x80 ? tolower(ch) : '?');
        sources.push_back(source);
    }
    return sources;
}

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    return text;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    for (const std::string& entry : list)
        if (entry == item) return true;
    return false;
}

class SharedPlaces : public InstallStateTest {
protected:
    void TearDown() override {
        RemoveDirectoryA(kRemovalBatch);
        InstallStateTest::TearDown();
    }
};

// An uninstaller of the test build started on the installed one: it is at its confirmation, or
// it has ended by itself, when this returns.
std::unique_ptr<RunningProgram> StartUninstaller(HWND& confirm) {
    std::unique_ptr<RunningProgram> program(new RunningProgram(InstalledUninstaller(), "C:\\"));
    confirm = NULL;
    WaitUntil(
        [&] {
            return (confirm = WaitForMessageBox(program->ProcessId(), 0)) != NULL || !program->IsRunning();
        },
        20000);
    return program;
}

HWND CompletionView(DWORD processId) {
    HWND dialog = FindProgramWindow(processId, kUninstallTitle);
    return dialog != NULL && ShowsUninstallCompletion(dialog) ? dialog : NULL;
}

}  // namespace

TEST_F(SharedPlaces, NoBatchWhereAFolderHasItsNameKeepsTheRecordUntilARestartOrASecondRun) {
    InstallSample();
    if (HasFatalFailure()) return;
    // Any user may make this folder in the drive root. The batch cannot be written: the record
    // stays for a second run, and the system is asked to delete what the batch would have.
    ASSERT_WIN32(CreateDirectoryA(kRemovalBatch, NULL));
    ProgramRun first = RunUninstall();
    EXPECT_TRUE(first.completed && first.exited) << first.milliseconds << " ms";
    ASSERT_EQ(first.boxes.size(), 1u) << "the user is not told that the removal waits for a restart";
    EXPECT_EQ(first.boxes[0], kRestartText);
    EXPECT_TRUE(FileExists(InstallFolder() + "Uninstall.log")) << "the record went without a batch to finish";
    EXPECT_TRUE(FileExists(InstalledUninstaller()));
    EXPECT_TRUE(ProductKeysGone());
    const std::string folder = Lower(InstallFolder().substr(0, InstallFolder().size() - 1));
    const std::vector<std::string> pending = RestartDeletions();
    for (const std::string& path : {folder + "\\uninstall.exe", folder + "\\uninstall.log", folder})
        EXPECT_TRUE(Contains(pending, path)) << path << " is not deleted at the restart";

    // Installed again before the restart: the new files must not go with the restart, while
    // another program's request stays.
    TempFolder other("restart-other");
    const std::string otherFile = other / "other.tmp";
    ASSERT_TRUE(WriteBytes(otherFile, "another program's"));
    ASSERT_WIN32(MoveFileExA(otherFile.c_str(), NULL, MOVEFILE_DELAY_UNTIL_REBOOT));
    InstallSample();
    if (HasFatalFailure()) return;
    const std::vector<std::string> afterInstall = RestartDeletions();
    for (const std::string& path : afterInstall)
        EXPECT_NE(path.compare(0, folder.size(), folder), 0) << path << " would go with the new install";
    EXPECT_TRUE(Contains(afterInstall, Lower(otherFile))) << "another program's request was dropped";

    // Once the folder is gone, a run finishes as usual.
    ASSERT_WIN32(RemoveDirectoryA(kRemovalBatch));
    ExpectUninstallFinishes();
}

TEST_F(SharedPlaces, TwoUninstallersConfirmedAtOnceLeaveNothingBehindWhicheverEndsFirst) {
    // The uninstall entry started twice, and every confirmation answered Yes. The two are closed
    // further apart than the batch tries after a program's end (two minutes in the shipped
    // build, seconds in the test build used here).
    for (const bool firstClosesFirst : {true, false}) {
        SCOPED_TRACE(firstClosesFirst ? "the first closed first" : "the second closed first");
        InstallSample();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(CopyFileA((TestProgramsFolder() + "UninstallSeams.exe").c_str(),
                              InstalledUninstaller().c_str(), FALSE));

        HWND confirms[2] = {NULL, NULL};
        std::unique_ptr<RunningProgram> programs[2];
        programs[0] = StartUninstaller(confirms[0]);
        ASSERT_NE(confirms[0], nullptr) << "the first uninstaller did not ask";
        programs[1] = StartUninstaller(confirms[1]);
        for (HWND confirm : confirms)
            if (confirm != NULL) PressButton(confirm, IDYES);
        printf("second uninstaller: %s\n", confirms[1] != NULL ? "asked" : "ended without asking");

        const int order[2] = {firstClosesFirst ? 0 : 1, firstClosesFirst ? 1 : 0};
        for (int step = 0; step < 2; ++step) {
            RunningProgram& program = *programs[order[step]];
            HWND dialog = NULL;
            ASSERT_TRUE(WaitUntil(
                [&] {
                    return (dialog = CompletionView(program.ProcessId())) != NULL || !program.IsRunning();
                },
                60000))
                << "no completion view";
            if (dialog != NULL) PressButton(dialog, IDOK);
            EXPECT_TRUE(program.WaitForExit(15000));
            if (step == 0) Sleep(kTestBatchBoundMs + 3000);  // the other one outlives this one's batch
        }
        ExpectNothingLeft();
        if (HasFailure()) return;
    }
}
