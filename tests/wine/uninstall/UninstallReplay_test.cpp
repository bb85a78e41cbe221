// The uninstall worker replays an install record on a real tree, real controls and the real
// registry.
#include <windows.h>

#include <gtest/gtest.h>

#include "FakeInstall.h"
#include "ReplayHarness.h"
#include "record/RecordHive.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"
#include "uninstall/UninstallMessages.h"

namespace {

const char kTestKeys[] = "Software\\PindlemarkTests\\";

std::string MessageName(UINT message) {
    switch (message) {
    case UM_FILE_DELETED: return "UM_FILE_DELETED";
    case UM_FILES_DONE: return "UM_FILES_DONE";
    case UM_UNINSTALL_DONE: return "UM_UNINSTALL_DONE";
    case kBatchStepMessage: return "batch";
    case kRestartStepMessage: return "restart";
    }
    return std::to_string(message);
}

std::vector<std::string> Describe(const std::vector<LoggedMessage>& messages) {
    std::vector<std::string> lines;
    for (const LoggedMessage& m : messages) lines.push_back(MessageName(m.message) + " " + m.path);
    return lines;
}

// Reads the record file into the worker and replays it, noting at each report whether the file
// is still there.
bool ReplayRecordFile(ReplayThread& worker, const std::string& recordFile, MessageLog& log) {
    log.Watch(recordFile);
    return worker.ReadInstallRecord(recordFile.c_str()) && RunReplay(worker, &log);
}

// One report per file record, in record order, then the steps that follow the file stage.
std::vector<std::string> Reports(const FakeInstall& install, const std::vector<const char*>& steps) {
    std::vector<std::string> expected;
    for (const std::string& file : install.Files()) expected.push_back("UM_FILE_DELETED " + file);
    for (const char* step : steps) expected.push_back(step);
    return expected;
}

}  // namespace

TEST(UninstallReplay, RemovesWhatTheRecordNamesAndReportsEachFile) {
    TempFolder temp("卸载回放");
    const std::string keys = kTestKeys + UniqueName("Replay");
    const std::string productKey = keys + "\\V5";
    const std::string entryKey = keys + "\\Uninstall\\Pindlemark V5";
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, productKey));
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, entryKey));

    FakeInstall install(temp / "Pindlemark\\");
    install.Folder("Support");
    install.File("Support\\菜单.mnu");
    install.Folder("Support\\图标");
    install.File("Support\\图标\\b.ico");
    install.Folder("Controls");
    const std::string grid = install.CopyOf(TestControlPath(), "Controls\\Grid.ocx");
    const std::string plain = install.CopyOf(NoEntryControlPath(), "Controls\\Plain.ocx");
    install.Folder("Database");
    install.Folder("Database\\A");
    install.File("Database\\A\\a.dat");
    install.Folder("Database\\A\\B");
    install.File("Database\\A\\B\\b.dat");
    install.Folder("Database\\A\\B\\C");
    install.File("Database\\A\\B\\C\\c.dat");
    install.Folder("Dunmoor");
    install.File("Dunmoor\\gone.dat", false);
    install.File("Dunmoor\\d.arx");
    install.File("Uninstall.exe");
    install.Control(grid);
    install.Control(plain);
    install.Key(HIVE_CURRENT_USER, productKey);
    install.Key(HIVE_CURRENT_USER, entryKey);
    const std::string recordFile = install.WriteRecord();
    ASSERT_TRUE(WriteBytes(install.Target() + "Database\\A\\B\\user.txt", "added after the install"));

    ReplayThread worker;
    MessageLog log;
    ASSERT_TRUE(ReplayRecordFile(worker, recordFile, log));

    // One report per file record, in record order, also for files already gone (gone.dat, and
    // the controls that the control stage deleted); then the end of the file stage, the batch
    // and the completion.
    EXPECT_EQ(Describe(log.Messages()), Reports(install, {"UM_FILES_DONE ", "batch ", "UM_UNINSTALL_DONE "}));
    EXPECT_EQ(worker.batches, 1);
    // The record file outlives every other stage, and the batch's start too, so that an
    // uninstall that ends early can be run again; it is gone at the completion.
    for (const LoggedMessage& m : log.Messages()) {
        if (m.message == UM_FILES_DONE || m.message == kBatchStepMessage) {
            EXPECT_TRUE(m.watchedExists) << "the record went before " << MessageName(m.message);
        }
        if (m.message == UM_UNINSTALL_DONE) {
            EXPECT_FALSE(m.watchedExists) << "the record is left at the completion";
            EXPECT_EQ(m.wParam, 0u) << "the batch takes the program";
        }
    }

    for (const std::string& file : install.Files()) EXPECT_FALSE(FileExists(file)) << file;
    EXPECT_EQ(ControlMarker(grid), "unregistered") << "DllUnregisterServer ran while the file was there";

    // The user's file keeps its folder and the folders above it; every other recorded folder
    // goes, the deepest first.
    EXPECT_TRUE(FileExists(install.Target() + "Database\\A\\B\\user.txt"));
    for (const char* kept : {"Database", "Database\\A", "Database\\A\\B"})
        EXPECT_TRUE(FileExists(install.Target() + kept)) << kept;
    for (const char* gone : {"Support", "Support\\图标", "Controls", "Database\\A\\B\\C", "Dunmoor"})
        EXPECT_FALSE(FileExists(install.Target() + gone)) << gone;
    EXPECT_TRUE(FileExists(install.Target())) << "the install folder has no record; the batch removes it";

    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, productKey));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, entryKey));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, keys + "\\Uninstall")) << "parents stay";
    DeleteRegTree(HKEY_CURRENT_USER, keys);
}

// The order of the steps and what the dialog is told. The restart step is ReplayThread's stub, so
// no removal is queued here: SharedPlaces (tests/wine/programs) reaches the real MoveFileEx.
TEST(UninstallReplay, WithoutABatchTheRecordStaysAndTheRemovalWaitsForARestart) {
    TempFolder temp("no-batch");
    FakeInstall install(temp / "Pindlemark\\");
    install.Folder("Support");
    install.File("Support\\a.mnu");
    const std::string recordFile = install.WriteRecord();

    ReplayThread worker;
    worker.batchStarts = FALSE;
    MessageLog log;
    ASSERT_TRUE(ReplayRecordFile(worker, recordFile, log));

    EXPECT_EQ(Describe(log.Messages()),
              Reports(install, {"UM_FILES_DONE ", "batch ", "restart ", "UM_UNINSTALL_DONE "}));
    ASSERT_FALSE(log.Messages().empty());
    EXPECT_EQ(log.Messages().back().wParam, UNINSTALL_DONE_AT_RESTART) << "the dialog is told of the restart";
    EXPECT_TRUE(FileExists(recordFile)) << "the record went though no batch will finish the removal";
}

TEST(UninstallReplay, UnregisterControlIsTrueOnlyForSOk) {
    TempFolder temp("unregister");
    struct Row {
        std::string name;
        std::string source;
        BOOL result;
    };
    const Row rows[] = {
        {"ok.ocx", TestControlPath(), TRUE},
        {"x-sfalse.ocx", TestControlPath(), FALSE},
        {"y-fail.ocx", TestControlPath(), FALSE},
        {"plain.ocx", NoEntryControlPath(), FALSE},
        {"missing.ocx", "", FALSE},
        {"not-a-module.ocx", "", FALSE},
    };
    ASSERT_TRUE(WriteBytes(temp / "not-a-module.ocx", "MZ but nothing more"));
    CUninstallThread worker;
    for (const Row& row : rows) {
        if (!row.source.empty()) {
            ASSERT_WIN32(CopyFileA(row.source.c_str(), (temp / row.name).c_str(), FALSE));
        }
        EXPECT_EQ(worker.UnregisterControl((temp / row.name).c_str()), row.result) << row.name;
    }
    EXPECT_EQ(ControlMarker(temp / "x-sfalse.ocx"), "unregistered") << "called, though not S_OK";
    // The module is released again: its file can be deleted at once.
    EXPECT_WIN32(DeleteFileA((temp / "ok.ocx").c_str()));
}

TEST(UninstallReplay, HiveCodesSelectTheirHive) {
    struct Hive {
        HKEY root;
        const char* name;
    };
    const Hive hives[] = {{HKEY_CLASSES_ROOT, "HKCR"},
                          {HKEY_CURRENT_USER, "HKCU"},
                          {HKEY_LOCAL_MACHINE, "HKLM"},
                          {HKEY_USERS, "HKU"},
                          {HKEY_CURRENT_CONFIG, "HKCC"}};
    struct Row {
        const char* code;
        int hiveIndex;  // index into hives
    };
    const Row rows[] = {{"0", 0}, {"1", 1}, {"2", 2},  {"3", 3},  {"4", 4},
                        {"9", 4}, {"", 4},  {"02", 4}, {"1 ", 4}, {"A", 4}};
    const std::string key = UniqueName("PmUninstallHive");

    for (const Row& row : rows) {
        for (const Hive& hive : hives) ASSERT_TRUE(CreateRegKey(hive.root, key)) << hive.name;
        ReplayThread worker;
        SetRecord(worker, std::string("RegDB Key: ") + row.code + "," + key + "\n");
        ASSERT_TRUE(RunReplay(worker, NULL));
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(RegKeyExists(hives[i].root, key), i != row.hiveIndex)
                << "code '" << row.code << "', " << hives[i].name;
    }
    for (const Hive& hive : hives) DeleteRegTree(hive.root, key);
}
