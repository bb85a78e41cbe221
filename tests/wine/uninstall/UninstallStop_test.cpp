// The uninstall dialog ending while its worker runs, at randomised moments of a long replay:
// nothing hangs, nothing is reported once the stop is under way beyond the message already in
// flight, what the worker had not reached stays, and no batch is written.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "FakeInstall.h"
#include "ReplayHarness.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "uninstall/UninstallMessages.h"

namespace {

const int kRuns = 60;
const int kFiles = 120;
const DWORD kNoHangMs = 30000;

// The dialog holds its worker by value; destroying it destroys the worker object.
struct FakeDialog {
    ReplayThread worker;
};

enum EndOrder {
    kStopThenDestroy,    // the dialog stops the worker, then its window goes
    kDestroyThenDelete,  // the window goes first; the worker object is destroyed later
    kDeleteThenDestroy,  // the dialog object goes while its window still exists
    kEndOrders
};

// Handles what the worker sends until the log holds count messages or the worker has ended.
void PumpUntil(MessageLog& log, CUninstallThread& worker, size_t count) {
    DWORD start = GetTickCount();
    HANDLE hThread = worker.m_hThread;
    while (log.Messages().size() < count && worker.IsRunning() && GetTickCount() - start < kNoHangMs) {
        MsgWaitForMultipleObjects(1, &hThread, FALSE, 50, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// The index of the first recorded file still present: everything before it is gone and
// everything from it on must still be there, as the worker deletes in record order.
size_t DeletedPrefix(const std::vector<std::string>& files) {
    size_t n = 0;
    while (n < files.size() && !FileExists(files[n])) ++n;
    for (size_t i = n; i < files.size(); ++i)
        EXPECT_TRUE(FileExists(files[i])) << "deleted out of order: " << files[i];
    return n;
}

}  // namespace

TEST(UninstallStop, EndingTheDialogAtRandomMoments) {
    TempFolder temp("stop");
    const unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    int byOrder[kEndOrders] = {};
    int completedRuns = 0;
    int stoppedInFiles = 0;

    for (int run = 0; run < kRuns; ++run) {
        // Every tenth run waits for the whole replay (kFiles reports, the end of the file stage,
        // the batch and the completion); the others end at a random message.
        const size_t wait = run % 10 == 9 ? kFiles + 3 : random() % (kFiles + 3);
        const EndOrder order = static_cast<EndOrder>(run % kEndOrders);
        const DWORD stall = random() % 4;  // not pumping: the worker is often caught inside SendMessage
        SCOPED_TRACE("run " + std::to_string(run) + ", after " + std::to_string(wait) + " messages, order " +
                     std::to_string(order) + ", stall " + std::to_string(stall) + " ms");
        ++byOrder[order];

        const std::string key = "Software\\PindlemarkTests\\" + UniqueName("Stop");
        ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, key));
        FakeInstall install(temp / ("run" + std::to_string(run) + "\\"));
        install.Folder("A");
        install.Folder("A\\B");
        for (int i = 0; i < kFiles; ++i) install.File((i % 2 ? "A\\f" : "A\\B\\f") + std::to_string(i));
        install.Key(HIVE_CURRENT_USER, key);

        MessageLog log;
        std::unique_ptr<FakeDialog> dialog(new FakeDialog);
        SetRecord(dialog->worker, install.Record());
        ASSERT_TRUE(StartReplay(dialog->worker, &log));
        PumpUntil(log, dialog->worker, wait);
        Sleep(stall);

        const size_t atEnd = log.Messages().size();
        const bool filesRunning = log.Count(UM_FILE_DELETED) < static_cast<size_t>(kFiles);
        const bool completed = log.Count(UM_UNINSTALL_DONE) == 1;
        DWORD endStart = GetTickCount();
        switch (order) {
        case kStopThenDestroy:
            ASSERT_TRUE(dialog->worker.StopAndWait(kNoHangMs)) << "the worker did not end";
            EXPECT_LE(log.Messages().size(), atEnd + 1)
                << "only the message already in flight may follow a stop";
            break;
        case kDestroyThenDelete: log.Destroy(); break;
        default:  // kDeleteThenDestroy: the dialog object goes first
            break;
        }
        const LONG batches = dialog->worker.batches;
        const size_t atDelete = log.Messages().size();
        dialog.reset();  // waits for the worker, handling what it sends
        EXPECT_LT(GetTickCount() - endStart, kNoHangMs);
        if (order == kDeleteThenDestroy) {
            EXPECT_LE(log.Messages().size(), atEnd + 1);
        }
        const size_t afterEnd = log.Messages().size();
        log.Destroy();
        PumpMessages(5);
        EXPECT_EQ(log.Messages().size(), afterEnd) << "a message after the end";
        if (order == kDestroyThenDelete) {
            EXPECT_EQ(atDelete, atEnd) << "a destroyed window got a message";
        }

        size_t deleted = DeletedPrefix(install.Files());
        EXPECT_LE(batches, 1);
        if (completed) {
            ++completedRuns;
            EXPECT_EQ(batches, 1);
            EXPECT_EQ(deleted, static_cast<size_t>(kFiles));
            EXPECT_FALSE(FileExists(install.Target() + "A"));
            EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, key));
        } else if (order != kDestroyThenDelete && filesRunning) {
            // Stopped inside the file stage: the rest stays undone and there is no batch.
            ++stoppedInFiles;
            EXPECT_EQ(batches, 0);
            EXPECT_EQ(log.Count(UM_FILES_DONE), 0u);
            EXPECT_EQ(log.Count(UM_UNINSTALL_DONE), 0u);
            EXPECT_LE(deleted, log.Count(UM_FILE_DELETED) + 1);
            EXPECT_TRUE(FileExists(install.Target() + "A\\B"));
            EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, key));
        }
        DeleteRegTree(HKEY_CURRENT_USER, key);
        if (HasFatalFailure()) return;
    }
    // The moments really were spread: some runs ended inside the file stage, some after the end.
    EXPECT_GT(stoppedInFiles, kRuns / 4);
    EXPECT_GT(completedRuns, 0);
    for (int count : byOrder) EXPECT_GT(count, 0);
}
