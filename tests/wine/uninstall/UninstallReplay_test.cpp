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
#include "uninstall/UninstallMessages.h"

namespace {

const char TEST_KEYS[] = "Software\\PindlemarkTests\\";

std::string MessageName(UINT nMsg) {
    switch (nMsg) {
    case UM_FILE_DELETED: return "UM_FILE_DELETED";
    case UM_FILES_DONE: return "UM_FILES_DONE";
    case UM_UNINSTALL_DONE: return "UM_UNINSTALL_DONE";
    case UM_TEST_BATCH: return "batch";
    case UM_TEST_RESTART: return "restart";
    }
    return std::to_string(nMsg);
}

std::vector<std::string> Describe(const std::vector<LoggedMessage>& messages) {
    std::vector<std::string> lines;
    for (const LoggedMessage& m : messages) lines.push_back(MessageName(m.nMsg) + " " + m.strPath);
    return lines;
}

// Reads the record file into the worker and replays it, noting at each report whether the file
// is still there.
bool ReplayRecordFile(CReplayThread& worker, const std::string& strRecordFile, CMessageLog& log) {
    log.Watch(strRecordFile);
    return worker.ReadInstallRecord(strRecordFile.c_str()) && RunReplay(worker, &log);
}

// One report per file record, in record order, then the steps that follow the file stage.
std::vector<std::string> Reports(const CFakeInstall& install, const std::vector<const char*>& steps) {
    std::vector<std::string> expected;
    for (const std::string& strFile : install.Files()) expected.push_back("UM_FILE_DELETED " + strFile);
    for (const char* pszStep : steps) expected.push_back(pszStep);
    return expected;
}

}  // namespace

TEST(UninstallReplay, RemovesWhatTheRecordNamesAndReportsEachFile) {
    TempFolder temp("卸载回放");
    const std::string strKeys = TEST_KEYS + UniqueName("Replay");
    const std::string strProductKey = strKeys + "\\V5";
    const std::string strEntryKey = strKeys + "\\Uninstall\\Pindlemark V5";
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, strProductKey));
    ASSERT_TRUE(CreateRegKey(HKEY_CURRENT_USER, strEntryKey));

    CFakeInstall install(temp / "Pindlemark\\");
    install.Folder("Support");
    install.File("Support\\菜单.mnu");
    install.Folder("Support\\图标");
    install.File("Support\\图标\\b.ico");
    install.Folder("Controls");
    const std::string strGrid = install.CopyOf(TestControlPath(), "Controls\\Grid.ocx");
    const std::string strPlain = install.CopyOf(NoEntryControlPath(), "Controls\\Plain.ocx");
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
    install.Control(strGrid);
    install.Control(strPlain);
    install.Key(HIVE_CURRENT_USER, strProductKey);
    install.Key(HIVE_CURRENT_USER, strEntryKey);
    const std::string strRecordFile = install.WriteRecord();
    ASSERT_TRUE(WriteBytes(install.Target() + "Database\\A\\B\\user.txt", "added after the install"));

    CReplayThread worker;
    CMessageLog log;
    ASSERT_TRUE(ReplayRecordFile(worker, strRecordFile, log));

    // One report per file record, in record order, also for files already gone (gone.dat, and
    // the controls that the control stage deleted); then the end of the file stage, the batch
    // and the completion.
    EXPECT_EQ(Describe(log.Messages()), Reports(install, {"UM_FILES_DONE ", "batch ", "UM_UNINSTALL_DONE "}));
    EXPECT_EQ(worker.m_nBatches, 1);
    // The record file outlives every other stage, and the batch's start too, so that an
    // uninstall that ends early can be run again; it is gone at the completion.
    for (const LoggedMessage& m : log.Messages()) {
        if (m.nMsg == UM_FILES_DONE || m.nMsg == UM_TEST_BATCH) {
            EXPECT_TRUE(m.bWatchedExists) << "the record went before " << MessageName(m.nMsg);
        }
        if (m.nMsg == UM_UNINSTALL_DONE) {
            EXPECT_FALSE(m.bWatchedExists) << "the record is left at the completion";
            EXPECT_EQ(m.wParam, 0u) << "the batch takes the program";
        }
    }

    for (const std::string& strFile : install.Files()) EXPECT_FALSE(FileExists(strFile)) << strFile;
    EXPECT_EQ(ControlMarker(strGrid), "unregistered") << "DllUnregisterServer ran while the file was there";

    // The user's file keeps its folder and the folders above it; every other recorded folder
    // goes, the deepest first.
    EXPECT_TRUE(FileExists(install.Target() + "Database\\A\\B\\user.txt"));
    for (const char* pszKept : {"Database", "Database\\A", "Database\\A\\B"})
        EXPECT_TRUE(FileExists(install.Target() + pszKept)) << pszKept;
    for (const char* pszGone : {"Support", "Support\\图标", "Controls", "Database\\A\\B\\C", "Dunmoor"})
        EXPECT_FALSE(FileExists(install.Target() + pszGone)) << pszGone;
    EXPECT_TRUE(FileExists(install.Target())) << "the install folder has no record; the batch removes it";

    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, strProductKey));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, strEntryKey));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, strKeys + "\\Uninstall")) << "parents stay";
    DeleteRegTree(HKEY_CURRENT_USER, strKeys);
}

TEST(UninstallReplay, WithoutABatchTheRecordStaysAndTheRemovalWaitsForARestart) {
    TempFolder temp("no-batch");
    CFakeInstall install(temp / "Pindlemark\\");
    install.Folder("Support");
    install.File("Support\\a.mnu");
    const std::string strRecordFile = install.WriteRecord();

    CReplayThread worker;
    worker.m_bBatchStarts = FALSE;
    CMessageLog log;
    ASSERT_TRUE(ReplayRecordFile(worker, strRecordFile, log));

    EXPECT_EQ(Describe(log.Messages()),
              Reports(install, {"UM_FILES_DONE ", "batch ", "restart ", "UM_UNINSTALL_DONE "}));
    ASSERT_FALSE(log.Messages().empty());
    EXPECT_EQ(log.Messages().back().wParam, UNINSTALL_DONE_AT_RESTART) << "the dialog is told of the restart";
    EXPECT_TRUE(FileExists(strRecordFile)) << "the record went though no batch will finish the removal";
}

TEST(UninstallReplay, UnregisterControlIsTrueOnlyForSOk) {
    TempFolder temp("unregister");
    struct Row {
        std::string strName;
        std::string strSource;
        BOOL bResult;
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
        if (!row.strSource.empty()) {
            ASSERT_TRUE(CopyFileA(row.strSource.c_str(), (temp / row.strName).c_str(), FALSE));
        }
        EXPECT_EQ(worker.UnregisterControl((temp / row.strName).c_str()), row.bResult) << row.strName;
    }
    EXPECT_EQ(ControlMarker(temp / "x-sfalse.ocx"), "unregistered") << "called, though not S_OK";
    // The module is released again: its file can be deleted at once.
    EXPECT_TRUE(DeleteFileA((temp / "ok.ocx").c_str()));
}

TEST(UninstallReplay, HiveCodesSelectTheirHive) {
    struct Hive {
        HKEY hRoot;
        const char* pszName;
    };
    const Hive hives[] = {{HKEY_CLASSES_ROOT, "HKCR"},
                          {HKEY_CURRENT_USER, "HKCU"},
                          {HKEY_LOCAL_MACHINE, "HKLM"},
                          {HKEY_USERS, "HKU"},
                          {HKEY_CURRENT_CONFIG, "HKCC"}};
    struct Row {
        const char* pszCode;
        int nHive;  // index into hives
    };
    const Row rows[] = {{"0", 0}, {"1", 1}, {"2", 2},  {"3", 3},  {"4", 4},
                        {"9", 4}, {"", 4},  {"02", 4}, {"1 ", 4}, {"A", 4}};
    const std::string strKey = UniqueName("PmUninstallHive");

    for (const Row& row : rows) {
        for (const Hive& hive : hives) ASSERT_TRUE(CreateRegKey(hive.hRoot, strKey)) << hive.pszName;
        CReplayThread worker;
        SetRecord(worker, std::string("RegDB Key: ") + row.pszCode + "," + strKey + "\n");
        ASSERT_TRUE(RunReplay(worker, NULL));
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(RegKeyExists(hives[i].hRoot, strKey), i != row.nHive)
                << "code '" << row.pszCode << "', " << hives[i].pszName;
    }
    for (const Hive& hive : hives) DeleteRegTree(hive.hRoot, strKey);
}
