// The real Uninstall.exe ended early, at random moments while it works, in every way a user can
// end it (the dialog's close box, its system menu's close, Escape, the cancel button) and by
// killing the process: each time it must be gone within a bound, without a crash and without a
// window of its own left behind. The seed of the moments is printed with every failure; set
// PM_FAULT_SEED to repeat a run.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

namespace {

const int kEnds = 50;
const int kBulkFiles = 1000;     // small files more: a second or two of work
const DWORD kExitBound = 15000;  // an ended program that runs longer than this hangs
const UINT kKillCode = 77;

enum Way { kCloseBox, kSystemClose, kEscape, kCancelButton, kKill, kWays };
const char* const kWayNames[kWays] = {"WM_CLOSE", "SC_CLOSE", "Escape", "cancel button", "TerminateProcess"};

unsigned Seed() {
    char text[32] = "";
    if (GetEnvironmentVariableA("PM_FAULT_SEED", text, sizeof text) > 0)
        return static_cast<unsigned>(strtoul(text, NULL, 10));
    return GetTickCount();
}

void End(Way way, HWND dialog, DWORD processId) {
    switch (way) {
    case kCloseBox: PostMessageA(dialog, WM_CLOSE, 0, 0); break;
    case kSystemClose: PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case kEscape: PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0); break;
    case kCancelButton: PressButton(dialog, IDCANCEL); break;
    case kKill: {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
        if (process != NULL) {
            TerminateProcess(process, kKillCode);
            CloseHandle(process);
        }
        break;
    }
    default: break;
    }
}

class EarlyEnds : public InstallStateTest {
protected:
    void SetUp() override {
        InstallStateTest::SetUp();
        disk.reset(new TempFolder("early-ends"));
        BuildSampleAddOn(disk->Path(), {}, kBulkFiles);
    }
    std::unique_ptr<TempFolder> disk;
};

}  // namespace

TEST_F(EarlyEnds, FiftyEndsWhileWorkingLeaveNothingBehind) {
    const unsigned seed = Seed();
    SCOPED_TRACE("PM_FAULT_SEED=" + std::to_string(seed));
    printf("early ends: seed %u\n", seed);
    std::mt19937 random(seed);
    const std::string target = InstallFolder();
    const DWORD start = GetTickCount();
    int installs = 0, completedFirst = 0;
    DWORD installMs = 0;
    auto install = [&] {
        ASSERT_TRUE(WaitForRemovalBatch());
        DWORD installStart = GetTickCount();
        ProgramRun setup = RunSetup(disk->Path());
        ASSERT_TRUE(setup.completed && setup.exited && setup.boxes.empty()) << "install " << installs;
        installMs += GetTickCount() - installStart;
        ++installs;
    };

    // One whole uninstall first: how long the work takes from the dialog's appearance to the
    // completion view sets the first range of the moments. Later runs are quicker where an
    // earlier one has already deleted files, and the machine's load changes: each end that comes
    // after the completion narrows the range by a quarter, so that the ends stay early while the
    // late stages (folders, keys, the batch) are still hit now and then.
    install();
    if (HasFatalFailure()) return;
    DWORD workMs = 0;
    {
        std::unique_ptr<RunningProgram> uninstall;
        HWND dialog = StartConfirmedUninstall(uninstall);
        ASSERT_NE(dialog, nullptr) << "no uninstall dialog";
        DWORD shown = GetTickCount();
        ASSERT_TRUE(WaitUntil([&] { return ShowsUninstallCompletion(dialog); }, 60000));
        workMs = GetTickCount() - shown;
        PressButton(dialog, IDOK);
        ASSERT_TRUE(uninstall->WaitForExit(kExitBound));
    }
    DWORD maxDelay = workMs + 1;

    for (int round = 0; round < kEnds; ++round) {
        const Way way = static_cast<Way>(round % kWays);
        const DWORD delay = random() % maxDelay;
        SCOPED_TRACE("round " + std::to_string(round) + ", " + kWayNames[way] + " after " +
                     std::to_string(delay) + " ms");
        // The record is the last file the file stage deletes: once it is gone, or the program
        // with it, the next round needs a new install. A batch of the round before may still be at
        // its work, which it does with the install lock: only what it leaves counts.
        ASSERT_TRUE(WaitForRemovalBatch()) << "the batch of the round before did not end";
        if (!FileExists(target + "Uninstall.log") || !FileExists(target + "Uninstall.exe")) {
            install();
            if (HasFatalFailure()) return;
        }

        std::unique_ptr<RunningProgram> uninstall;
        HWND dialog = StartConfirmedUninstall(uninstall);
        ASSERT_NE(dialog, nullptr) << "no uninstall dialog";
        Sleep(delay);
        if (ShowsUninstallCompletion(dialog)) {  // then a plain close
            ++completedFirst;
            maxDelay = std::max<DWORD>(maxDelay - maxDelay / 4, 100);
        }
        End(way, dialog, uninstall->ProcessId());

        DWORD exitCode = 0;
        const bool exited = uninstall->WaitForExit(kExitBound, &exitCode);
        EXPECT_TRUE(exited) << "still running " << kExitBound << " ms after the end was asked";
        if (exited) {
            EXPECT_EQ(exitCode, way == kKill ? kKillCode : 0u);
        }
        EXPECT_EQ(CrashEvidence(), "");
        EXPECT_EQ(AnyWindowTitled(kUninstallTitle), nullptr) << "an uninstall dialog is left";
        EXPECT_EQ(AnyWindowTitled("Uninstall"), nullptr) << "a message box of Uninstall is left";
        if (HasFailure()) break;  // later rounds would only repeat the damage
    }

    EXPECT_LT(completedFirst, kEnds / 2) << "most ends must come while the program works";
    const DWORD totalMs = GetTickCount() - start;
    printf(
        "early ends: %d ends, moments up to %lu ms (%lu ms at the end), %d installs (%lu ms), %d after the "
        "completion, %lu ms in all\n",
        kEnds, workMs + 1, maxDelay, installs, installMs, completedFirst, totalMs);
    RecordProperty("installs", installs);
    RecordProperty("total_ms", static_cast<int>(totalMs));
}
