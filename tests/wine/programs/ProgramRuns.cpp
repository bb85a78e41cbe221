#include "ProgramRuns.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "SampleAddOn.h"
#include "support/GbkText.h"
#include "support/Registry.h"
#include "uninstall/UninstallResource.h"

const char kRemovalBatch[] = "C:\\DelUS.bat";

namespace {

// Wine's crash dialog (winedbg), in the prefix's language or in English.
const char* const kCrashTitles[] = {"程序错误", "Program Error"};

BOOL CALLBACK MatchCrashWindow(HWND window, LPARAM param) {
    std::string* evidence = reinterpret_cast<std::string*>(param);
    const std::string caption = Caption(window);
    for (const char* title : kCrashTitles) {
        if (caption.find(title) != std::string::npos) {
            *evidence = "a crash dialog is shown: " + caption;
            return FALSE;
        }
    }
    return TRUE;
}

// Answers the message box with its OK (or Yes) button, else with the button that ends what asks
// (Cancel, Abort), and keeps its text.
void AnswerBox(HWND box, std::vector<std::string>& boxes) {
    boxes.push_back(MessageBoxText(box));
    for (int button : {IDOK, IDYES, IDCANCEL, IDABORT})
        if (PressButton(box, button)) break;
    WaitUntil([&] { return !IsWindow(box); }, 5000);
}

// Answers the message box with the button `answer` chooses, and keeps its text.
void AnswerBoxBy(HWND box, const BoxAnswer& answer, std::vector<std::string>& boxes) {
    const std::string text = MessageBoxText(box);
    boxes.push_back(text);
    const int button = answer(text);
    if (!PressButton(box, button)) {
        ADD_FAILURE() << "the message box has no button " << button << ": " << text;
        boxes.pop_back();
        AnswerBox(box, boxes);
        return;
    }
    WaitUntil([&] { return !IsWindow(box); }, 5000);
}

// Until the program ends or `bound` (from `start`) runs out: answers its message boxes (by
// `answer`, or with AnswerBox when it is empty), and once completionView() shows the completion
// view, presses its finish button and waits for the end.
void DriveToEnd(RunningProgram& program, const std::function<HWND()>& completionView, DWORD start,
                DWORD bound, ProgramRun& run, const BoxAnswer& answer = BoxAnswer()) {
    while (GetTickCount() - start < bound) {
        if (program.WaitForExit(0, &run.exitCode)) {
            run.exited = true;
            break;
        }
        if (HWND box = WaitForMessageBox(program.ProcessId(), 0)) {
            if (answer)
                AnswerBoxBy(box, answer, run.boxes);
            else
                AnswerBox(box, run.boxes);
            continue;
        }
        if (HWND dialog = completionView()) {
            run.completed = true;
            PressButton(dialog, IDOK);
            run.exited = program.WaitForExit(bound - std::min(bound, GetTickCount() - start), &run.exitCode);
            break;
        }
        Sleep(20);
    }
    run.milliseconds = GetTickCount() - start;
    run.crash = CrashEvidence();
}

}  // namespace

ProgramRun RunSetup(const std::string& sourceFolder, DWORD bound) {
    return RunSetup(sourceFolder, BoxAnswer(), bound);
}

ProgramRun RunSetup(const std::string& sourceFolder, const BoxAnswer& answer, DWORD bound) {
    ProgramRun run;
    DWORD start = GetTickCount();
    RunningProgram setup(sourceFolder + "Setup.exe", sourceFolder);
    run.started = setup.Started();
    if (!run.started) return run;
    const DWORD processId = setup.ProcessId();
    DriveToEnd(
        setup, [processId] { return FindProgramWindow(processId, kSetupCompletedTitle); }, start, bound, run,
        answer);
    return run;
}

bool ShowsUninstallCompletion(HWND dialog) {
    return ControlVisible(dialog, IDC_UNINSTALL_DONE_TEXT) && IsWindowEnabled(GetDlgItem(dialog, IDOK));
}

HWND StartConfirmedUninstall(std::unique_ptr<RunningProgram>& program, DWORD bound) {
    program.reset(new RunningProgram(InstalledUninstaller(), "C:\\"));
    if (!program->Started()) return NULL;
    HWND box = WaitForMessageBox(program->ProcessId(), bound);
    if (box == NULL || !PressButton(box, IDYES)) return NULL;
    return WaitForWindow(program->ProcessId(), kUninstallTitle, bound);
}

ProgramRun RunUninstall(DWORD bound, const std::string& exePath) {
    ProgramRun run;
    DWORD start = GetTickCount();
    RunningProgram uninstall(exePath.empty() ? InstalledUninstaller() : exePath, "C:\\");
    run.started = uninstall.Started();
    if (!run.started) return run;
    HWND confirm = WaitForMessageBox(uninstall.ProcessId(), bound);
    if (confirm == NULL) {
        run.milliseconds = GetTickCount() - start;
        run.crash = CrashEvidence();
        return run;
    }
    PressButton(confirm, IDYES);
    WaitUntil([&] { return !IsWindow(confirm); }, 5000);
    const DWORD processId = uninstall.ProcessId();
    DriveToEnd(
        uninstall,
        [processId]() -> HWND {
            // The view is complete once "完成" can be pressed: a notice on it is answered first.
            HWND dialog = FindProgramWindow(processId, kUninstallTitle);
            return dialog != NULL && ShowsUninstallCompletion(dialog) ? dialog : NULL;
        },
        start, bound, run);
    return run;
}

void ExpectCleanRun(const ProgramRun& run) {
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.completed) << "no completion view after " << run.milliseconds << " ms";
    EXPECT_TRUE(run.exited) << "still running after " << run.milliseconds << " ms";
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.crash, "");
    EXPECT_TRUE(run.boxes.empty()) << "unexpected message: " << (run.boxes.empty() ? "" : run.boxes[0]);
}

bool WaitForRemovalBatch(DWORD bound) {
    // The batch's interpreter holds the install lock on to its end, a moment after the file is gone.
    return WaitUntil([] { return !FileExists(kRemovalBatch) && !FileExists(InstallLockFile()); }, bound);
}

std::string InstallLockFile() {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string folder = system;
    return folder.substr(0, folder.rfind('\\')) + "\\Kelvora Pindlemark V5.lock";
}

std::string CrashEvidence() {
    std::string evidence;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
            if (lstrcmpiA(entry.szExeFile, "winedbg.exe") == 0) {
                evidence = "winedbg.exe is running (pid " + std::to_string(entry.th32ProcessID) + ")";
                break;
            }
        }
        CloseHandle(snapshot);
    }
    if (evidence.empty()) EnumWindows(MatchCrashWindow, reinterpret_cast<LPARAM>(&evidence));
    return evidence;
}

bool MakeFolders(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryW(Wide(path.substr(0, at)).c_str(), NULL);
    CreateDirectoryW(Wide(path).c_str(), NULL);
    DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeHandMadeInstall() {
    RemoveEarlierInstall();
    MakeFolders(InstallFolder());
    CopyFileW(Wide(DistFolder() + "Uninstall.exe").c_str(), Wide(InstalledUninstaller()).c_str(), FALSE);
    WriteRegString(HKEY_LOCAL_MACHINE, PRODUCT_KEY, "installPath", InstallFolder());
    WriteRegString(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY, "UninstallString",
                   "\"" + InstalledUninstaller() + "\"");
}

void InstallStateTest::InstallSample(int bulkFiles) {
    if (!m_disk || m_diskBulkFiles != bulkFiles) {
        m_disk.reset(new TempFolder("sample-disk"));
        BuildSampleAddOn(m_disk->Path(), {}, bulkFiles);
        m_diskBulkFiles = bulkFiles;
    }
    ProgramRun setup = RunSetup(m_disk->Path());
    ASSERT_TRUE(setup.completed && setup.exited && setup.boxes.empty()) << setup.milliseconds << " ms";
}

std::string InstalledUninstaller() {
    return InstallFolder() + "Uninstall.exe";
}

bool ProductKeysGone() {
    return !RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY) &&
           !RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY);
}

void ExpectNothingLeft() {
    EXPECT_TRUE(WaitForRemovalBatch()) << "the batch did not end";
    EXPECT_TRUE(WaitUntil([] { return !FileExists(InstallFolder()); }, 30000))
        << "left behind: " << (FileExists(InstalledUninstaller()) ? "the uninstaller" : "its folder");
    EXPECT_TRUE(ProductKeysGone());
}

void ExpectUninstallFinishes() {
    ProgramRun run = RunUninstall();
    EXPECT_TRUE(run.completed && run.exited) << run.milliseconds << " ms";
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front();
    ExpectNothingLeft();
}

void InstallStateTest::SetUp() {
    WaitForRemovalBatch(30000);
    DeleteFileW(Wide(kRemovalBatch).c_str());
    RemoveEarlierInstall();
    RemoveCadReleases();
}

void InstallStateTest::TearDown() {
    WaitForRemovalBatch(30000);
    RemoveEarlierInstall();
    RemoveCadReleases();
}
