// Uninstall.exe run as Windows runs it from the uninstall entry, after a real install.
#include <windows.h>

#include <gtest/gtest.h>

#include "ProgramDriver.h"
#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "record/ProductKeys.h"
#include "support/GbkText.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "uninstall/UninstallResource.h"

namespace {

const char kConfirmText[] = "真要卸载 Vennloft管理 V5.0 吗?";
const char kConfirmCaption[] = "卸载软件";
const char kAcadApp[] = "Software\\Autodesk\\AutoCAD\\R16.2\\ACAD-4001:804\\Applications\\Quorrel";

class UninstallProgram : public InstallStateTest {
protected:
    // Installs the sample add-on with the real Setup.exe, with a CAD release to register with.
    void Install(int bulkFiles = 0) {
        AddCadRelease(HKEY_LOCAL_MACHINE, "R16.2", "ACAD-4001:804");
        InstallSample(bulkFiles);
    }

    // Starts the installed Uninstall.exe and returns its confirmation box.
    HWND StartUninstall(std::unique_ptr<RunningProgram>& program) {
        program.reset(new RunningProgram(InstalledUninstaller(), "C:\\"));
        HWND box = WaitForMessageBox(program->ProcessId(), 30000);
        if (box) {
            EXPECT_EQ(MessageBoxText(box), kConfirmText);
            EXPECT_EQ(WindowText(box), kConfirmCaption);
        }
        return box;
    }
};

}  // namespace

TEST_F(UninstallProgram, AnsweringNoChangesNothing) {
    Install();
    if (HasFatalFailure()) return;
    std::unique_ptr<RunningProgram> uninstall;
    HWND box = StartUninstall(uninstall);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "only Yes and No";
    SaveScreenshot(box, "uninstall-confirm");
    ASSERT_TRUE(PressButton(box, IDNO));
    ASSERT_TRUE(uninstall->WaitForExit(10000));
    EXPECT_TRUE(FileExists(InstallFolder() + "Uninstall.log"));
    EXPECT_TRUE(FileExists(InstallFolder() + "Support\\菜单.mnu"));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY));
    EXPECT_FALSE(FileExists(kRemovalBatch));
}

TEST_F(UninstallProgram, AnsweringYesRemovesTheInstallAndItself) {
    Install(3000);
    if (HasFatalFailure()) return;
    std::unique_ptr<RunningProgram> uninstall;
    HWND box = StartUninstall(uninstall);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PressButton(box, IDYES));

    HWND dialog = WaitForWindow(uninstall->ProcessId(), kUninstallTitle, 30000);
    ASSERT_NE(dialog, nullptr);
    RECT client = {};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, DialogUnitsToPixelsX(249)) << "249 dialog units at 1.5 pixels each";
    EXPECT_EQ(client.bottom, DialogUnitsToPixelsY(121)) << "121 dialog units at 1.5 pixels each";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK))) << "no finish before the end";
    if (WaitUntil(
            [&] {
                return WindowText(GetDlgItem(dialog, IDC_UNINSTALL_STATUS)).find(" ... ") !=
                       std::string::npos;
            },
            10000))
        SaveScreenshot(dialog, "uninstall-working");
    else
        ADD_FAILURE() << "the status line never named a file";
    ASSERT_TRUE(WaitUntil([&] { return ControlVisible(dialog, IDC_UNINSTALL_DONE_TEXT); }, 60000))
        << "no completion text";
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_UNINSTALL_DONE_TEXT)), "卸载完成!");
    EXPECT_FALSE(ControlVisible(dialog, IDC_UNINSTALL_PROGRESS));
    EXPECT_FALSE(ControlVisible(dialog, IDC_UNINSTALL_GROUP));
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
    EXPECT_TRUE(WaitForRemovalBatch(30000));
}

TEST_F(UninstallProgram, MissingRecordClosesSilently) {
    TempFolder folder("uninstall-alone");
    ASSERT_TRUE(CopyFileW(Wide(DistFolder() + "Uninstall.exe").c_str(),
                          Wide(folder / "Uninstall.exe").c_str(), FALSE));
    RunningProgram uninstall(folder / "Uninstall.exe", folder.Path());
    HWND box = WaitForMessageBox(uninstall.ProcessId(), 30000);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PressButton(box, IDYES));
    ASSERT_TRUE(uninstall.WaitForExit(15000)) << "the dialog closes by itself";
    EXPECT_TRUE(FileExists(folder / "Uninstall.exe"));
    EXPECT_FALSE(FileExists(kRemovalBatch));
}

TEST_F(UninstallProgram, LockedRecordShowsTwoMessagesAndDeletesNothing) {
    Install();
    if (HasFatalFailure()) return;
    HeldFile record(InstallFolder() + "Uninstall.log");
    ASSERT_TRUE(record.Held());
    std::unique_ptr<RunningProgram> uninstall;
    HWND box = StartUninstall(uninstall);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PressButton(box, IDYES));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));

    HWND report = WaitForMessageBox(uninstall->ProcessId(), 30000);
    ASSERT_NE(report, nullptr);
    EXPECT_NE(MessageBoxText(report).find("Uninstall.log"), std::string::npos) << MessageBoxText(report);
    EXPECT_EQ(WindowText(GetWindow(report, GW_OWNER)), kUninstallTitle)
        << "the report is modal to the dialog";
    PressButton(report, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(report); }, 10000));
    HWND failed = WaitForMessageBox(uninstall->ProcessId(), 30000);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(MessageBoxText(failed), "Vennloft管理 卸载未能完成!");
    EXPECT_EQ(WindowText(failed), "Uninstall");
    PressButton(failed, IDOK);
    EXPECT_TRUE(uninstall->WaitForExit(15000));
    record.Release();
    EXPECT_TRUE(FileExists(InstallFolder() + "Support\\菜单.mnu"));
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY));
}
