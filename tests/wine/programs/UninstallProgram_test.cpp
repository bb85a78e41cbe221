// Uninstall.exe run as Windows runs it from the uninstall entry, after a real install.
#include <windows.h>

#include <gtest/gtest.h>

#include "ProgramDriver.h"
#include "Registry.h"
#include "SampleAddOn.h"
#include "record/ProductKeys.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

namespace {

const char kConfirmText[] = "真要卸载 Vennloft管理 V5.0 吗?";
const char kConfirmCaption[] = "卸载软件";
const char kDialogTitle[] = "Vennloft管理 V5.0  卸载";
const char kAcadApp[] = "Software\\Autodesk\\AutoCAD\\R16.2\\ACAD-4001:804\\Applications\\Quorrel";

class UninstallProgram : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveEarlierInstall();
        DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
        DeleteFileA("C:\\DelUS.bat");
    }
    void TearDown() override {
        RemoveEarlierInstall();
        DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
    }

    // Installs the sample add-on with the real Setup.exe.
    void Install(int bulkFiles = 0) {
        disk_.reset(new TempFolder("uninstall-disk"));
        BuildSampleAddOn(disk_->Path(), {}, bulkFiles);
        WriteRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk\\AutoCAD\\R16.2", "CurVer", "ACAD-4001:804");
        RunningProgram setup(*disk_ / "Setup.exe", disk_->Path());
        HWND dialog = WaitForWindow(setup.ProcessId(), "", 30000);
        ASSERT_NE(dialog, HWND(NULL));
        ASSERT_TRUE(WaitForTitle(dialog, "安装完成!", 60000));
        PressButton(dialog, IDOK);
        ASSERT_TRUE(setup.WaitForExit(10000));
    }

    // Starts the installed Uninstall.exe and returns its confirmation box.
    HWND StartUninstall(std::unique_ptr<RunningProgram>& program) {
        program.reset(new RunningProgram(InstallFolder() + "Uninstall.exe", "C:\\"));
        HWND box = WaitForMessageBox(program->ProcessId(), 30000);
        if (box) {
            EXPECT_EQ(MessageBoxText(box), kConfirmText);
            EXPECT_EQ(WindowText(box), kConfirmCaption);
        }
        return box;
    }

    std::unique_ptr<TempFolder> disk_;
};

}  // namespace

TEST_F(UninstallProgram, AnsweringNoChangesNothing) {
    Install();
    std::unique_ptr<RunningProgram> uninstall;
    HWND box = StartUninstall(uninstall);
    ASSERT_NE(box, HWND(NULL));
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), HWND(NULL)) << "only Yes and No";
    SaveScreenshot(box, "uninstall-confirm");
    ASSERT_TRUE(PressButton(box, IDNO));
    ASSERT_TRUE(uninstall->WaitForExit(10000));
    EXPECT_TRUE(FileExists(InstallFolder() + "Uninstall.log"));
    EXPECT_TRUE(FileExists(InstallFolder() + "Support\\菜单.mnu"));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY));
    EXPECT_FALSE(FileExists("C:\\DelUS.bat"));
}

TEST_F(UninstallProgram, AnsweringYesRemovesTheInstallAndItself) {
    Install(3000);
    std::unique_ptr<RunningProgram> uninstall;
    HWND box = StartUninstall(uninstall);
    ASSERT_NE(box, HWND(NULL));
    ASSERT_TRUE(PressButton(box, IDYES));

    HWND dialog = WaitForWindow(uninstall->ProcessId(), kDialogTitle, 30000);
    ASSERT_NE(dialog, HWND(NULL));
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, DialogUnitsToPixelsX(249)) << "249 dialog units at 1.5 pixels each";
    EXPECT_EQ(client.bottom, DialogUnitsToPixelsY(121)) << "121 dialog units at 1.5 pixels each";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK))) << "no finish before the end";
    if (WaitUntil([&] { return WindowText(GetDlgItem(dialog, 1001)).find(" ... ") != std::string::npos; },
                  10000))
        SaveScreenshot(dialog, "uninstall-working");
    else
        ADD_FAILURE() << "the status line never named a file";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(GetDlgItem(dialog, 1003)) != FALSE; }, 60000))
        << "no completion text";
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 1003)), "卸载完成!");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1000)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1004)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, NULL), &info);
    EXPECT_EQ(info.hwndFocus, GetDlgItem(dialog, IDOK)) << "the finish button has the focus";
    SaveScreenshot(dialog, "uninstall-completed");

    EXPECT_FALSE(FileExists(InstallFolder() + "Support"));
    EXPECT_FALSE(FileExists(InstallFolder() + "Uninstall.log"));
    EXPECT_EQ(ControlMarker(InstallFolder() + "Controls\\Grid.ocx"), "unregistered");
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, kAcadApp)) << "CAD registration stays";
    EXPECT_TRUE(FileExists(InstallFolder() + "Uninstall.exe")) << "still running";

    ASSERT_TRUE(PressButton(dialog, IDOK));
    ASSERT_TRUE(uninstall->WaitForExit(10000));
    EXPECT_TRUE(WaitUntil([] { return !FileExists(InstallFolder()); }, 60000))
        << "the batch removes Uninstall.exe and the install folder";
    EXPECT_TRUE(WaitUntil([] { return !FileExists("C:\\DelUS.bat"); }, 30000));
}

TEST_F(UninstallProgram, MissingRecordClosesSilently) {
    TempFolder folder("uninstall-alone");
    ASSERT_TRUE(
        CopyFileA((DistFolder() + "Uninstall.exe").c_str(), (folder / "Uninstall.exe").c_str(), FALSE));
    RunningProgram uninstall(folder / "Uninstall.exe", folder.Path());
    HWND box = WaitForMessageBox(uninstall.ProcessId(), 30000);
    ASSERT_NE(box, HWND(NULL));
    ASSERT_TRUE(PressButton(box, IDYES));
    ASSERT_TRUE(uninstall.WaitForExit(15000)) << "the dialog closes by itself";
    EXPECT_TRUE(FileExists(folder / "Uninstall.exe"));
    EXPECT_FALSE(FileExists("C:\\DelUS.bat"));
}

TEST_F(UninstallProgram, LockedRecordShowsTwoMessagesAndDeletesNothing) {
    Install();
    HANDLE lock = CreateFileA((InstallFolder() + "Uninstall.log").c_str(), GENERIC_READ, 0, NULL,
                              OPEN_EXISTING, 0, NULL);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    std::unique_ptr<RunningProgram> uninstall;
    HWND box = StartUninstall(uninstall);
    ASSERT_NE(box, HWND(NULL));
    ASSERT_TRUE(PressButton(box, IDYES));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));

    HWND report = WaitForMessageBox(uninstall->ProcessId(), 30000);
    ASSERT_NE(report, HWND(NULL));
    EXPECT_NE(MessageBoxText(report).find("Uninstall.log"), std::string::npos) << MessageBoxText(report);
    EXPECT_EQ(WindowText(GetWindow(report, GW_OWNER)), kDialogTitle) << "the report is modal to the dialog";
    PressButton(report, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(report); }, 10000));
    HWND failed = WaitForMessageBox(uninstall->ProcessId(), 30000);
    ASSERT_NE(failed, HWND(NULL));
    EXPECT_EQ(MessageBoxText(failed), "Vennloft管理 卸载未能完成!");
    EXPECT_EQ(WindowText(failed), "Uninstall");
    PressButton(failed, IDOK);
    EXPECT_TRUE(uninstall->WaitForExit(15000));
    CloseHandle(lock);
    EXPECT_TRUE(FileExists(InstallFolder() + "Support\\菜单.mnu"));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY));
}
