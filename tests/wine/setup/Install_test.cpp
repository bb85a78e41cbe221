// The install worker run as a whole, reporting to a window of the test thread.
#include <windows.h>

#include <gtest/gtest.h>

#include "InstallHarness.h"
#include "framework/AppName.h"
#include "framework/MessageBox.h"
#include "framework/SystemErrorText.h"
#include "record/ProductKeys.h"
#include "setup/SetupThread.h"
#include "support/PromptRecorder.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

namespace {

const std::string kRegistryRecords =
    "RegDB Key: 2,SOFTWARE\\Kelvora\\Pindlemark\\V5\n"
    "RegDB Key: 2,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pindlemark V5\n";
// Where the help control's registration names its module.
const char kHhctrlServerKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";

std::string PathPrompt(DWORD error, const std::string& folder) {
    return std::string(AfxGetSystemErrorText(error)) + "\n找不到安装文件的路径 " + folder +
           "，\n点击“重试”按钮试图重新查找该安装文件路径；\n点击“忽略”按钮将跳过该路径下的操作并继续执行；\n"
           "点击“取消”按钮将终止程序运行。";
}

DWORD Attributes(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}
const DWORD kKeptMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// Makes the source's loose files and a small install folder tree (without the named folder).
void MakeSmallSource(const TempFolder& source, const std::string& without) {
    ASSERT_TRUE(WriteBytes(source / "Uninstall.exe", "MZ"));
    for (const char* folder : {"Support", "Controls", "Database", "Dunmoor"}) {
        if (without == folder) continue;
        ASSERT_WIN32(CreateDirectoryA((source / folder).c_str(), NULL));
        ASSERT_TRUE(WriteBytes(source / folder + "\\f.txt", folder));
    }
}

}  // namespace

TEST(Install, CopiesRegistersAndRecordsEverythingInOrder) {
    InstallKeys keys;
    TempFolder source("源"), target("目标");
    const std::string src = source.Path(), dst = target.Path();
    // Support: a file, a subfolder, a GBK folder whose name ends in the byte of '\', an empty folder.
    const std::vector<std::string> dirs = {"Support",     "Support\\Sub", "Support\\" + std::string(kGbk5C),
                                           "Support\\空", "Controls",     "Controls\\old",
                                           "Database",    "Dunmoor",      "Dunmoor\\Sub"};
    for (const std::string& dir : dirs) ASSERT_TRUE(CreateDirectoryA((src + dir).c_str(), NULL)) << dir;
    ASSERT_TRUE(WriteBytes(src + "Support\\a.txt", "a"));
    ASSERT_TRUE(WriteBytes(src + "Support\\Sub\\b.txt", "b"));
    ASSERT_TRUE(WriteBytes(src + "Support\\" + kGbk5C + "\\c.txt", "c"));
    ASSERT_WIN32(CopyFileA(TestControlPath().c_str(), (src + "Controls\\ok.ocx").c_str(), FALSE));
    ASSERT_WIN32(CopyFileA(SystemHhctrlPath().c_str(), (src + "Controls\\hh.ocx").c_str(), FALSE));
    ASSERT_WIN32(CopyFileA(TestControlPath().c_str(), (src + "Controls\\old\\c.ocx").c_str(), FALSE));
    for (const char* name : {"hidden.dat", "locked.dat", "ro-source.dat", "ro-target.dat"})
        ASSERT_TRUE(WriteBytes(src + "Database\\" + name, "new"));
    ASSERT_TRUE(SetFileAttributesA((src + "Database\\hidden.dat").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_WIN32(SetFileAttributesA((src + "Database\\ro-source.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteBytes(src + "Dunmoor\\Sub\\d.txt", "d"));
    for (const char* name : {"locked.txt", "SETUP.EXE", "Uninstall.exe", "说明.txt"})
        ASSERT_TRUE(WriteBytes(src + name, name));
    ASSERT_WIN32(SetFileAttributesA((src + "说明.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    // The target already holds a read-only file, two locked files, and a file where a folder goes.
    ASSERT_WIN32(CreateDirectoryA((dst + "Database").c_str(), NULL));
    ASSERT_WIN32(CreateDirectoryA((dst + "Dunmoor").c_str(), NULL));
    for (const char* name : {"Database\\locked.dat", "Database\\ro-target.dat", "locked.txt", "Dunmoor\\Sub"})
        ASSERT_TRUE(WriteBytes(dst + name, "old"));
    ASSERT_WIN32(SetFileAttributesA((dst + "Database\\ro-target.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    HeldFile lockedDat(dst + "Database\\locked.dat"), lockedTxt(dst + "locked.txt");
    ASSERT_TRUE(lockedDat.Held() && lockedTxt.Held());

    PromptRecorder prompts;
    InstallWindow window;
    CSetupThread thread;
    ASSERT_TRUE(RunInstall(thread, window, src, dst));

    EXPECT_TRUE(prompts.Prompts().empty());
    EXPECT_EQ(window.doneCount, 1);
    EXPECT_EQ(window.closeCount, 0);
    // Whether a read-only target is replaced is the system's affair (Wine run as root replaces
    // it); replaced or not, it is there and recorded.
    const std::string expected =
        "Made Dir: " + dst +
        "Support\n"
        "File Copy: " +
        dst +
        "Support\\a.txt\n"
        "Made Dir: " +
        dst +
        "Support\\Sub\n"
        "File Copy: " +
        dst +
        "Support\\Sub\\b.txt\n"
        "Made Dir: " +
        dst + "Support\\" + kGbk5C +
        "\n"
        "File Copy: " +
        dst + "Support\\" + kGbk5C +
        "\\c.txt\n"
        "Made Dir: " +
        dst +
        "Support\\空\n"
        "Made Dir: " +
        dst +
        "Controls\n"
        "File Copy: " +
        dst +
        "Controls\\hh.ocx\n"
        "File Copy: " +
        dst +
        "Controls\\ok.ocx\n"
        "Made Dir: " +
        dst +
        "Controls\\old\n"
        "File Copy: " +
        dst +
        "Controls\\old\\c.ocx\n"
        "Made Dir: " +
        dst +
        "Database\n"
        "File Copy: " +
        dst +
        "Database\\hidden.dat\n"
        // A held target is replaced at the next restart: its new copy waits beside it.
        "File Copy: " +
        dst + "Database\\locked.dat.pmnew\n" + "File Copy: " + dst + "Database\\locked.dat\n" +
        "File Copy: " + dst + "Database\\ro-source.dat\n" + "File Copy: " + dst +
        "Database\\ro-target.dat\n" + "Made Dir: " + dst +
        "Dunmoor\n"
        "Made Dir: " +
        dst +
        "Dunmoor\\Sub\n"
        "File Copy: " +
        dst + "locked.txt.pmnew\n" + "File Copy: " + dst +
        "locked.txt\n"
        "File Copy: " +
        dst +
        "Uninstall.exe\n"
        "File Copy: " +
        dst +
        "说明.txt\n"
        "Reg Ctrl: " +
        dst +
        "Controls\\hh.ocx\n"
        "Reg Ctrl: " +
        dst + "Controls\\ok.ocx\n" + kRegistryRecords + "File Copy: " + dst + "Uninstall.log\n";
    EXPECT_EQ(std::string(thread.m_strRecord), expected);

    // One step per file and subfolder, a subfolder's after its content, copied or not.
    const std::vector<std::string> stepTargets = {"Support\\a.txt",
                                                  "Support\\Sub\\b.txt",
                                                  "Support\\Sub",
                                                  "Support\\" + std::string(kGbk5C) + "\\c.txt",
                                                  "Support\\" + std::string(kGbk5C),
                                                  "Support\\空",
                                                  "Controls\\hh.ocx",
                                                  "Controls\\ok.ocx",
                                                  "Controls\\old\\c.ocx",
                                                  "Controls\\old",
                                                  "Database\\hidden.dat",
                                                  "Database\\locked.dat",
                                                  "Database\\ro-source.dat",
                                                  "Database\\ro-target.dat",
                                                  "Dunmoor\\Sub\\d.txt",
                                                  "Dunmoor\\Sub"};
    ASSERT_EQ(window.steps.size(), stepTargets.size());
    for (size_t i = 0; i < stepTargets.size(); ++i) {
        EXPECT_EQ(window.steps[i].source, src + stepTargets[i]) << i;
        EXPECT_EQ(window.steps[i].target, dst + stepTargets[i]) << i;
    }

    std::string bytes;
    ASSERT_TRUE(ReadBytes(dst + "Support\\" + kGbk5C + "\\c.txt", bytes));
    EXPECT_EQ(bytes, "c");
    EXPECT_EQ(SearchOrder(dst + "Support"), (std::vector<std::string>{"a.txt", "Sub", kGbk5C, "空"}))
        << "no folder may be cut inside a character";
    EXPECT_EQ(Attributes(dst + "Database\\hidden.dat") & kKeptMarks, 0u);
    EXPECT_EQ(Attributes(dst + "Database\\ro-source.dat") & kKeptMarks, 0u);
    EXPECT_EQ(Attributes(dst + "说明.txt") & kKeptMarks, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN))
        << "loose files keep their marks";
    EXPECT_FALSE(FileExists(dst + "SETUP.EXE"));
    lockedTxt.Release();
    ASSERT_TRUE(ReadBytes(dst + "locked.txt", bytes));
    EXPECT_EQ(bytes, "old");
    EXPECT_EQ(Attributes(dst + "Dunmoor\\Sub") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(ControlMarker(dst + "Controls\\ok.ocx"), "registered");
    EXPECT_EQ(ControlMarker(dst + "Controls\\old\\c.ocx"), "");
    EXPECT_EQ(ReadRegValue(HKEY_CLASSES_ROOT, kHhctrlServerKey, "").data, SzData(dst + "Controls\\hh.ocx"))
        << "the prefix's own help control registered from the target";
    RegisterSystemHhctrl();

    std::string onDisk;
    ASSERT_TRUE(ReadBytes(dst + "Uninstall.log", onDisk));
    std::string crlf;
    for (char ch : expected) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    EXPECT_EQ(onDisk, crlf);
    EXPECT_EQ(ReadRegValue(HKEY_LOCAL_MACHINE, PRODUCT_KEY, "installPath").data, SzData(dst));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk")) << "no CAD release installed";
    ForgetControlMarker(dst + "Controls\\ok.ocx");
}

TEST(Install, IgnoredMissingFolderIsStillMadeAndTheInstallGoesOn) {
    InstallKeys keys;
    TempFolder source("no-controls"), target("no-controls-target");
    const std::string src = source.Path(), dst = target.Path();
    ASSERT_NO_FATAL_FAILURE(MakeSmallSource(source, "Controls"));

    PromptRecorder prompts({IDIGNORE});
    InstallWindow window;
    CSetupThread thread;
    ASSERT_TRUE(RunInstall(thread, window, src, dst));

    std::vector<RecordedPrompt> asked = prompts.Prompts();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, PathPrompt(ERROR_PATH_NOT_FOUND, src + "Controls\\"));
    EXPECT_EQ(asked[0].caption, AfxGetAppName());
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_ABORTRETRYIGNORE | MB_ICONQUESTION));
    EXPECT_EQ(asked[0].owner, window.Hwnd());
    EXPECT_EQ(asked[0].threadId, thread.m_nThreadID);

    EXPECT_EQ(std::string(thread.m_strRecord), "Made Dir: " + dst + "Support\nFile Copy: " + dst +
                                                   "Support\\f.txt\n"
                                                   "Made Dir: " +
                                                   dst +
                                                   "Controls\n"
                                                   "Made Dir: " +
                                                   dst + "Database\nFile Copy: " + dst +
                                                   "Database\\f.txt\n"
                                                   "Made Dir: " +
                                                   dst + "Dunmoor\nFile Copy: " + dst +
                                                   "Dunmoor\\f.txt\n"
                                                   "File Copy: " +
                                                   dst + "Uninstall.exe\n" + kRegistryRecords +
                                                   "File Copy: " + dst + "Uninstall.log\n");
    EXPECT_EQ(window.steps.size(), 3u);
    EXPECT_EQ(window.doneCount, 1);
    EXPECT_EQ(Attributes(dst + "Controls") & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST(Install, AbortAtTheFirstFolderDoesNothingAndClosesTheWindow) {
    InstallKeys keys;
    TempFolder source("no-support"), target("no-support-target");
    const std::string dst = target / "inst\\";
    ASSERT_NO_FATAL_FAILURE(MakeSmallSource(source, "Support"));

    PromptRecorder prompts({IDABORT});
    InstallWindow window;
    CSetupThread thread;
    ASSERT_TRUE(RunInstall(thread, window, source.Path(), dst));

    EXPECT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(window.doneCount, 0);
    EXPECT_EQ(window.closeCount, 1);
    EXPECT_TRUE(window.steps.empty());
    EXPECT_FALSE(FileExists(dst)) << "no folder made";
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY));
    EXPECT_EQ(std::string(thread.m_strRecord), "");
    DWORD exitCode = 1;
    EXPECT_TRUE(GetExitCodeThread(thread.m_hThread, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

namespace {

// The worker's message box as a person sees it.
struct SeenBox {
    HWND box = NULL;
    std::string caption, text;
    HWND owner = NULL;
    bool abortRetryIgnore = false;
};

}  // namespace

TEST(Install, RealMessageBoxAnsweredByPressingIgnore) {
    InstallKeys keys;
    TempFolder source("real-box"), target("real-box-target");
    const std::string src = source.Path(), dst = target.Path();
    ASSERT_NO_FATAL_FAILURE(MakeSmallSource(source, "Dunmoor"));

    InstallWindow window;
    CSetupThread thread;
    std::vector<SeenBox> seen;
    ASSERT_TRUE(RunInstall(thread, window, src, dst, [&]() {
        SeenBox found;
        found.box = WaitForMessageBox(GetCurrentProcessId(), 0);
        // Pressed already: the box closes once the worker's thread has handled the click.
        if (found.box == NULL || (!seen.empty() && seen.back().box == found.box)) return;
        found.caption = WindowText(found.box);
        found.text = MessageBoxText(found.box);
        found.owner = GetWindow(found.box, GW_OWNER);
        found.abortRetryIgnore = GetDlgItem(found.box, IDABORT) && GetDlgItem(found.box, IDRETRY) &&
                                 GetDlgItem(found.box, IDIGNORE) && !GetDlgItem(found.box, IDCANCEL);
        seen.push_back(found);
        PressButton(found.box, IDIGNORE);
    }));

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, AfxGetAppName());
    EXPECT_EQ(seen[0].text, PathPrompt(ERROR_PATH_NOT_FOUND, src + "Dunmoor\\"));
    EXPECT_EQ(seen[0].owner, window.Hwnd());
    EXPECT_TRUE(seen[0].abortRetryIgnore);
    EXPECT_EQ(window.doneCount, 1);
    EXPECT_NE(std::string(thread.m_strRecord)
                  .find("Made Dir: " + dst + "Dunmoor\nFile Copy: " + dst + "Uninstall.exe\n"),
              std::string::npos);
}
