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

const int RUNS = 60;
const int FILES = 120;
const DWORD NO_HANG_MS = 30000;

// The dialog holds its worker by value; destroying it destroys the worker object.
struct CFakeDialog {
    CReplayThread worker;
};

enum EndOrder {
    STOP_THEN_DESTROY,    // the dialog stops the worker, then its window goes
    DESTROY_THEN_DELETE,  // the window goes first; the worker object is destroyed later
    DELETE_THEN_DESTROY,  // the dialog object goes while its window still exists
    END_ORDERS
};

// Handles what the worker sends until the log holds nCount messages or the worker has ended.
void PumpUntil(CMessageLog& log, CUninstallThread& worker, size_t nCount) {
    DWORD dwStart = GetTickCount();
    HANDLE hThread = worker.m_hThread;
    while (log.Messages().size() < nCount && worker.IsRunning() && GetTickCount() - dwStart < NO_HANG_MS) {
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
    const unsigned nSeed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    SCOPED_TRACE("seed " + std::to_string(nSeed));
    std::mt19937 random(nSeed);
    int nByOrder[END_ORDERS] = {};
    int nCompleted = 0;
    int nStoppedInFiles = 0;

    for (int nRun = 0; nRun < RUNS; ++nRun) {
        // Every tenth run waits for the whole replay (FILES reports, the end of the file stage,
        // the batch and the completion); the others end at a random message.
        const size_t nWait = nRun % 10 == 9 ? FILES + 3 : random() % (FILES + 3);
        const EndOrder order = static_cast<EndOrder>(nRun % END_ORDERS);
        const DWORD dwStall = random() % 4;  // not pumping: the worker is often caught inside SendMessage
        SCOPED_TRACE("run " + std::to_string(nRun) + ", after " + std::to_string(nWait) +
                     " messages, order " + std::to_string(order) + ", stall " + std::to_string(dwStall) +
                     " ms");
        ++nByOrder[order];

        const std::string strKey = "Software\\PindlemarkTests\\" + UniqueName("Stop");
        ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, strKey));
        CFakeInstall install(temp / ("run" + std::to_string(nRun) + "\\"));
        install.Folder("A");
        install.Folder("A\\B");
        for (int i = 0; i < FILES; ++i) install.File((i % 2 ? "A\\f" : "A\\B\\f") + std::to_string(i));
        install.Key(HIVE_CURRENT_USER, strKey);

        CMessageLog log;
        std::unique_ptr<CFakeDialog> dialog(new CFakeDialog);
        SetRecord(dialog->worker, install.Record());
        ASSERT_TRUE(StartReplay(dialog->worker, &log));
        PumpUntil(log, dialog->worker, nWait);
        Sleep(dwStall);

        const size_t nAtEnd = log.Messages().size();
        const bool bFilesRunning = log.Count(UM_FILE_DELETED) < static_cast<size_t>(FILES);
        const bool bCompleted = log.Count(UM_UNINSTALL_DONE) == 1;
        DWORD dwEndStart = GetTickCount();
        switch (order) {
        case STOP_THEN_DESTROY:
            ASSERT_TRUE(dialog->worker.StopAndWait(NO_HANG_MS)) << "the worker did not end";
            EXPECT_LE(log.Messages().size(), nAtEnd + 1)
                << "only the message already in flight may follow a stop";
            break;
        case DESTROY_THEN_DELETE: log.Destroy(); break;
        default:  // DELETE_THEN_DESTROY: the dialog object goes first
            break;
        }
        const LONG nBatches = dialog->worker.m_nBatches;
        const size_t nAtDelete = log.Messages().size();
        dialog.reset();  // waits for the worker, handling what it sends
        EXPECT_LT(GetTickCount() - dwEndStart, NO_HANG_MS);
        if (order == DELETE_THEN_DESTROY) {
            EXPECT_LE(log.Messages().size(), nAtEnd + 1);
        }
        const size_t nAfterEnd = log.Messages().size();
        log.Destroy();
        PumpMessages(5);
        EXPECT_EQ(log.Messages().size(), nAfterEnd) << "a message after the end";
        if (order == DESTROY_THEN_DELETE) {
            EXPECT_EQ(nAtDelete, nAtEnd) << "a destroyed window got a message";
        }

        size_t nDeleted = DeletedPrefix(install.Files());
        EXPECT_LE(nBatches, 1);
        if (bCompleted) {
            ++nCompleted;
            EXPECT_EQ(nBatches, 1);
            EXPECT_EQ(nDeleted, static_cast<size_t>(FILES));
            EXPECT_FALSE(FileExists(install.Target() + "A"));
            EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, strKey));
        } else if (order != DESTROY_THEN_DELETE && bFilesRunning) {
            // Stopped inside the file stage: the rest stays undone and there is no batch.
            ++nStoppedInFiles;
            EXPECT_EQ(nBatches, 0);
            EXPECT_EQ(log.Count(UM_FILES_DONE), 0u);
            EXPECT_EQ(log.Count(UM_UNINSTALL_DONE), 0u);
            EXPECT_LE(nDeleted, log.Count(UM_FILE_DELETED) + 1);
            EXPECT_TRUE(FileExists(install.Target() + "A\\B"));
            EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, strKey));
        }
        DeleteRegTree(HKEY_CURRENT_USER, strKey);
        if (HasFatalFailure()) return;
    }
    // The moments really were spread: some runs ended inside the file stage, some after the end.
    EXPECT_GT(nStoppedInFiles, RUNS / 4);
    EXPECT_GT(nCompleted, 0);
    for (int nCount : nByOrder) EXPECT_GT(nCount, 0);
}
