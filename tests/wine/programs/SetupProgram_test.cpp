// Setup.exe run as a user runs it: started from the add-on's folder, watched through its windows,
// answered by pressing the real buttons.
#include <windows.h>

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <set>

#include "ProgramDriver.h"
#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "record/ProductKeys.h"
#include "setup/SetupResource.h"
#include "support/GbkText.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

namespace {

// Suspends (or resumes) every thread of the process but the one that owns `window`: the install
// worker stops where it is, while the dialog goes on painting.
void HoldWorkers(HWND window, bool hold) {
    DWORD processId = 0;
    const DWORD uiThread = GetWindowThreadProcessId(window, &processId);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId || entry.th32ThreadID == uiThread) continue;
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        if (thread == NULL) continue;
        if (hold)
            SuspendThread(thread);
        else
            ResumeThread(thread);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
}

// The share of the progress bar's columns, on the screen, in the bar's colour.
double BarShare(HWND dialog) {
    RECT bar;
    GetWindowRect(GetDlgItem(dialog, IDC_SETUP_PROGRESS), &bar);
    const int y = (bar.top + bar.bottom) / 2, width = bar.right - bar.left - 4;
    HDC screen = GetDC(NULL);
    int filled = 0;
    for (int x = 0; x < width; ++x)
        if (GetPixel(screen, bar.left + 2 + x, y) == GetSysColor(COLOR_HIGHLIGHT)) ++filled;
    ReleaseDC(NULL, screen);
    return width > 0 ? static_cast<double>(filled) / width : 0.0;
}

class SetupProgram : public InstallStateTest {};

}  // namespace

TEST_F(SetupProgram, InstallsEverythingAndEndsWithTheFinishButton) {
    TempFolder disk("disk1");
    SampleAddOn addOn = BuildSampleAddOn(disk.Path());
    AddCadRelease(HKEY_LOCAL_MACHINE, "R16.2", "ACAD-4001:804");
    AddCadRelease(HKEY_CURRENT_USER, "R17.0", "ACAD-5001:804");

    RunningProgram setup(disk / "Setup.exe", disk.Path());
    ASSERT_TRUE(setup.Started());
    HWND dialog = WaitForWindow(setup.ProcessId(), "", 30000);
    ASSERT_NE(dialog, nullptr) << "no install dialog";
    ASSERT_TRUE(WaitForTitle(dialog, kSetupCompletedTitle, 60000)) << "title: " << WindowText(dialog);
    // "宋体" 9 points has the metrics of Windows at 96 dpi: a dialog unit is 1.5 pixels, so the
    // 400 x 247-unit dialog is 600 x 370 and its picture shows the 600 x 345 bitmap edge to edge.
    const SIZE units = DialogFontBaseUnits();
    EXPECT_EQ(units.cx, 6);
    EXPECT_EQ(units.cy, 12);
    RECT client = {}, picture = {};
    GetClientRect(dialog, &client);
    GetClientRect(GetDlgItem(dialog, IDC_SETUP_PICTURE), &picture);
    EXPECT_NEAR(client.right, 600, 1);
    EXPECT_NEAR(client.bottom, 370, 1);
    EXPECT_EQ(picture.right, 600);
    EXPECT_EQ(picture.bottom, 345);
    EXPECT_TRUE(ControlVisible(dialog, IDC_SETUP_HINT));
    EXPECT_TRUE(ControlVisible(dialog, IDOK)) << "finish button";
    EXPECT_FALSE(ControlVisible(dialog, IDC_SETUP_PROGRESS));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_SETUP_HINT)),
              "激活命令方式: 点击AutoCAD状态栏上的[Vennloft管理] ");
    SaveScreenshot(dialog, "setup-completed");

    // The tree: every file, with the read-only, hidden and system marks cleared.
    const std::string target = InstallFolder();
    const DWORD marks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const std::string& file : addOn.files) {
        DWORD attributes = GetFileAttributesW(Wide(target + file).c_str());
        EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << file;
        EXPECT_EQ(attributes & marks, 0u) << file;
    }
    EXPECT_TRUE(FileExists(target + "Support\\空目录"));
    EXPECT_TRUE(FileExists(target + "Uninstall.exe"));
    EXPECT_TRUE(FileExists(target + "安装说明.txt"));
    // Under its Unicode name, whatever the machine's language for programs that are not Unicode.
    EXPECT_NE(GetFileAttributesW((Wide(target) + L"\x5B89\x88C5\x8BF4\x660E.txt").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "安装说明.txt";
    EXPECT_FALSE(FileExists(target + "Setup.exe"));

    // The record: first the Support folder, last the record itself; every file and control.
    const std::string log = target + "Uninstall.log";
    EXPECT_EQ(GetFileAttributesW(Wide(log).c_str()) & FILE_ATTRIBUTE_HIDDEN,
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    std::string text;
    ASSERT_TRUE(ReadBytes(log, text));
    std::vector<std::string> lines = TextLines(text);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Made Dir: " + target + "Support");
    EXPECT_EQ(lines.back(), "File Copy: " + log);
    std::set<std::string> recorded(lines.begin(), lines.end());
    for (const std::string& file : addOn.files)
        EXPECT_TRUE(recorded.count("File Copy: " + target + file)) << file;
    for (const std::string& dir : addOn.subfolders)
        EXPECT_TRUE(recorded.count("Made Dir: " + target + dir)) << dir;
    for (const std::string& control : addOn.controls)
        EXPECT_TRUE(recorded.count("Reg Ctrl: " + target + "Controls\\" + control)) << control;
    EXPECT_FALSE(recorded.count("Reg Ctrl: " + target + "Controls\\old\\Legacy.ocx"));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], std::string("RegDB Key: 2,") + PRODUCT_KEY);
    EXPECT_EQ(lines[lines.size() - 2], std::string("RegDB Key: 2,") + UNINSTALL_ENTRY_KEY);
    EXPECT_EQ(ControlMarker(target + "Controls\\Grid.ocx"), "registered");

    // Registry.
    std::string value;
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, PRODUCT_KEY, "installPath", value) && value == target)
        << value;
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, PRODUCT_KEY, "Ver", value) && value == "5.00") << value;
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "DisplayName", value) &&
                value == "Vennloft管理 V5")
        << value;
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "UninstallString", value) &&
                value == "\"" + target + "Uninstall.exe\"")
        << value;
    const std::string r162 = "Software\\Autodesk\\AutoCAD\\R16.2\\ACAD-4001:804\\Applications\\Quorrel";
    const RegValue loadCtrls = ReadRegValue(HKEY_LOCAL_MACHINE, r162, "LOADCTRLS");
    EXPECT_EQ(loadCtrls.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(loadCtrls.data, DwordData(2));
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, r162, "LOADER", value) &&
                value == target + "Support\\2004-06\\Quorrel.arx")
        << value;
    const std::string r170 = "Software\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804\\Applications\\Quorrel";
    EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, r170, "LOADER", value) &&
                value == target + "Support\\2007-09\\Quorrel.arx")
        << "a release known only to the current user is still registered for the machine: " << value;
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\Autodesk\\AutoCAD\\R16.1"));

    // Escape changes nothing; the finish button ends the program.
    ASSERT_WIN32(PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0));
    EXPECT_TRUE(DialogHandledItsQueue(dialog, 10000) && setup.IsRunning())
        << "Escape must not end the dialog: it answers " << IsWindow(dialog) << ", runs "
        << setup.IsRunning();
    ASSERT_TRUE(PressButton(dialog, IDOK));
    EXPECT_TRUE(setup.WaitForExit(10000));
}

TEST_F(SetupProgram, InstallingShowsThePictureAndTheBarAlone) {
    TempFolder disk("disk-bulk");
    BuildSampleAddOn(disk.Path(), {}, 1200);
    RunningProgram setup(disk / "Setup.exe", disk.Path());
    ASSERT_TRUE(setup.Started());
    HWND dialog = WaitForWindow(setup.ProcessId(), kSetupInstallingTitle, 30000);
    ASSERT_NE(dialog, nullptr) << "no install dialog";
    // Caught part-way: the worker is held while the bar stands between a fifth and four fifths.
    bool caught = false;
    for (int tries = 0; tries < 200 && !caught && setup.IsRunning(); ++tries) {
        Sleep(50);
        HoldWorkers(dialog, true);
        Sleep(200);  // the dialog paints what the last step asked for
        const double share = BarShare(dialog);
        caught = share > 0.2 && share < 0.8 && WindowText(dialog) == kSetupInstallingTitle;
        if (!caught) HoldWorkers(dialog, false);
    }
    ASSERT_TRUE(caught) << "the install was never seen part-way";
    EXPECT_TRUE(ControlVisible(dialog, IDC_SETUP_PROGRESS));
    EXPECT_TRUE(ControlVisible(dialog, IDC_SETUP_PICTURE));
    EXPECT_FALSE(ControlVisible(dialog, IDOK)) << "finish button";
    EXPECT_FALSE(ControlVisible(dialog, IDC_SETUP_HINT));
    EXPECT_EQ(WaitForMessageBox(setup.ProcessId(), 0), nullptr);
    SaveScreenshot(dialog, "setup-installing");
    HoldWorkers(dialog, false);
    ASSERT_TRUE(WaitForTitle(dialog, kSetupCompletedTitle, 60000));
    PressButton(dialog, IDOK);
    EXPECT_TRUE(setup.WaitForExit(10000));
}

TEST_F(SetupProgram, MissingControlsAnsweredIgnoreGoesOn) {
    TempFolder disk("disk-nocontrols");
    BuildSampleAddOn(disk.Path(), {"Controls"});
    RunningProgram setup(disk / "Setup.exe", disk.Path());
    ASSERT_TRUE(setup.Started());

    HWND box = WaitForMessageBox(setup.ProcessId(), 30000);
    ASSERT_NE(box, nullptr) << "no prompt for the missing folder";
    std::string prompt = MessageBoxText(box);
    EXPECT_NE(prompt.find("找不到安装文件的路径 " + disk.Path() + "Controls\\，"), std::string::npos)
        << prompt;
    EXPECT_EQ(WindowText(box), "Setup") << "caption is the application's name";
    HWND dialog = FindProgramWindow(setup.ProcessId(), kSetupInstallingTitle);
    ASSERT_NE(dialog, nullptr) << "the dialog shows the installing view while asking";
    EXPECT_TRUE(ControlVisible(dialog, IDC_SETUP_PROGRESS));
    EXPECT_FALSE(ControlVisible(dialog, IDOK));
    EXPECT_FALSE(ControlVisible(dialog, IDC_SETUP_HINT));
    SaveScreenshot(box, "setup-prompt");
    ASSERT_TRUE(PressButton(box, IDIGNORE));

    ASSERT_TRUE(WaitForTitle(dialog, kSetupCompletedTitle, 60000));
    EXPECT_TRUE(FileExists(InstallFolder() + "Controls"));
    EXPECT_TRUE(FileExists(InstallFolder() + "Dunmoor\\readme.txt"));
    std::string text;
    ASSERT_TRUE(ReadBytes(InstallFolder() + "Uninstall.log", text));
    EXPECT_EQ(text.find("Reg Ctrl: "), std::string::npos);
    PressButton(dialog, IDOK);
    EXPECT_TRUE(setup.WaitForExit(10000));
}

TEST_F(SetupProgram, MissingSupportAnsweredAbortEndsWithNothingInstalled) {
    TempFolder disk("disk-nosupport");
    BuildSampleAddOn(disk.Path(), {"Support"});
    RunningProgram setup(disk / "Setup.exe", disk.Path());
    ASSERT_TRUE(setup.Started());
    HWND box = WaitForMessageBox(setup.ProcessId(), 30000);
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PressButton(box, IDABORT));
    DWORD exitCode = 0;
    ASSERT_TRUE(setup.WaitForExit(15000, &exitCode)) << "Setup must end after Abort";
    EXPECT_EQ(FindProgramWindow(setup.ProcessId(), kSetupCompletedTitle), nullptr);
    EXPECT_FALSE(FileExists(InstallFolder() + "Support"));
    EXPECT_FALSE(FileExists(InstallFolder() + "Uninstall.log"));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY));
}

TEST_F(SetupProgram, NamesThatGbkCannotHoldArePassedOverAndLeaveNothingBehind) {
    // The record is GBK: a name it cannot hold (here Korean) cannot be recorded, so it is not
    // installed, as a file that cannot be copied is not, and the install goes on without a word.
    TempFolder disk("foreign-names");
    BuildSampleAddOn(disk.Path());
    const std::wstring korean = L"\xD55C\xAE00";
    const std::wstring source = Wide(disk.Path());
    ASSERT_WIN32(CreateDirectoryW((source + L"Database\\" + korean).c_str(), NULL));
    for (const std::wstring& file :
         {source + L"Support\\" + korean + L".txt", source + L"Database\\" + korean + L"\\inside.dat",
          source + korean + L".txt"}) {
        HANDLE created = CreateFileW(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(created, INVALID_HANDLE_VALUE) << Gbk(file);
        CloseHandle(created);
    }

    ProgramRun setup = RunSetup(disk.Path());
    EXPECT_TRUE(setup.completed && setup.exited) << setup.milliseconds << " ms";
    EXPECT_TRUE(setup.boxes.empty()) << "the user was asked: " << setup.boxes.front();
    const std::wstring target = Wide(InstallFolder());
    for (const std::wstring& installed : {target + L"Support\\" + korean + L".txt",
                                          target + L"Database\\" + korean, target + korean + L".txt"})
        EXPECT_EQ(GetFileAttributesW(installed.c_str()), INVALID_FILE_ATTRIBUTES)
            << Gbk(installed) << " was installed";
    EXPECT_TRUE(FileExists(InstallFolder() + "Support\\菜单.mnu")) << "the install went on past the names";
    std::string record;
    ASSERT_TRUE(ReadBytes(InstallFolder() + "Uninstall.log", record));
    EXPECT_EQ(record.find('?'), std::string::npos) << "a name stood in for in the record";

    ExpectUninstallFinishes();
}
