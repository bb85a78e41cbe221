// The folder operations of the install worker called on their own, prompts answered through the seam.
#include <windows.h>

#include <gtest/gtest.h>
#include <sddl.h>

#include "InstallHarness.h"
#include "framework/AdminOnlySecurity.h"
#include "framework/AppName.h"
#include "framework/MessageBox.h"
#include "framework/SystemErrorText.h"
#include "setup/SetupThread.h"
#include "support/PromptRecorder.h"
#include "support/TempFolder.h"
#include "support/Win32Check.h"

namespace {

std::string FolderPrompt(DWORD error, const std::string& folder) {
    return std::string(AfxGetSystemErrorText(error)) + "\n不能创建文件夹 " + folder +
           " ，\n点击“重试”按钮试图重新创建文件夹；\n点击“取消”按钮将终止程序运行。";
}

// What a person at the prompt does before answering, for the answers that follow a change.
std::string g_fixPath;
int g_fixPrompts = 0;

int MakeFolderThenRetry(HWND, LPCSTR, LPCSTR, UINT) {
    ++g_fixPrompts;
    RemoveTree(g_fixPath);
    CreateDirectoryA(g_fixPath.c_str(), NULL);
    WriteBytes(g_fixPath + "\\z.txt", "z");
    return IDRETRY;
}

// An access list as "type flags SID mask" entries, "protected" first when it takes nothing from
// above.
std::vector<std::string> AccessList(PSECURITY_DESCRIPTOR sd) {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = NULL;
    if (!GetSecurityDescriptorControl(sd, &control, &revision) ||
        !GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted))
        return {"error " + std::to_string(GetLastError())};
    if (!present || dacl == NULL) return {"no access list"};
    std::vector<std::string> entries;
    if (control & SE_DACL_PROTECTED) entries.push_back("protected");
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = NULL;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) return {"GetAce error"};
        LPSTR sid = NULL;
        ConvertSidToStringSidA(&ace->SidStart, &sid);
        char text[160];
        wsprintfA(text, "type %u flags 0x%02x %s 0x%08lx", ace->Header.AceType, ace->Header.AceFlags,
                  sid ? sid : "?", static_cast<unsigned long>(ace->Mask));
        LocalFree(sid);
        entries.push_back(text);
    }
    return entries;
}

// A file's or folder's access list, or the system's error when it cannot be read.
std::vector<std::string> AccessList(const std::string& path) {
    std::vector<BYTE> sd(4096);
    DWORD needed = 0;
    if (!GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, sd.data(), static_cast<DWORD>(sd.size()),
                          &needed))
        return {"GetFileSecurity error " + std::to_string(GetLastError())};
    return AccessList(sd.data());
}

}  // namespace

TEST(MakeFolderPath, StepsOverDoubleByteCharactersEndingInBackslashByte) {
    TempFolder target("gbk-path");
    const std::string path = target / (std::string(kGbk5C) + "\\子\\" + kGbk5C);
    PromptRecorder prompts;
    CSetupThread thread;
    EXPECT_TRUE(thread.MakeFolderPath(path.c_str()));
    EXPECT_TRUE(prompts.Prompts().empty());
    EXPECT_EQ(std::string(thread.m_strRecord), "Made Dir: " + path + "\n")
        << "only the whole path is recorded";
    EXPECT_EQ(SearchOrder(target / ""), std::vector<std::string>{kGbk5C});
    EXPECT_EQ(SearchOrder(target / kGbk5C), std::vector<std::string>{"子"});
    EXPECT_EQ(SearchOrder(target / kGbk5C + "\\子"), std::vector<std::string>{kGbk5C});
}

TEST(MakeFolderPath, PathsOfMaxPathBytesOrMoreAreFoldersThatCannotBeMade) {
    TempFolder target("bound");
    const std::string base = target.Path();
    const std::string fits = base + std::string(MAX_PATH - 1 - base.size(), 'f');
    CSetupThread fitting;
    {
        PromptRecorder prompts;
        EXPECT_TRUE(fitting.MakeFolderPath(fits.c_str()));
        EXPECT_TRUE(prompts.Prompts().empty());
    }
    EXPECT_TRUE(FileExists(fits)) << fits.size() << " bytes";

    for (size_t length : {static_cast<size_t>(MAX_PATH), static_cast<size_t>(1000)}) {
        const std::string tooLong = base + "sub\\" + std::string(length - base.size() - 4, 'x');
        ASSERT_EQ(tooLong.size(), length);
        PromptRecorder prompts({IDRETRY, IDCANCEL});
        CSetupThread thread;
        EXPECT_FALSE(thread.MakeFolderPath(tooLong.c_str())) << length;
        EXPECT_EQ(std::string(thread.m_strRecord), "Made Dir: " + tooLong + "\n");
        std::vector<RecordedPrompt> asked = prompts.Prompts();
        ASSERT_EQ(asked.size(), 2u) << "Retry asks again, Cancel stops";
        for (const RecordedPrompt& prompt : asked) {
            EXPECT_EQ(prompt.text, FolderPrompt(ERROR_FILENAME_EXCED_RANGE, tooLong)) << length;
            EXPECT_EQ(prompt.type, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONQUESTION));
        }
        EXPECT_FALSE(FileExists(base + "sub")) << "refused before anything is made";
    }
}

TEST(MakeFolderPath, FolderThatCannotBeMadeIsAskedAboutUntilCancelOrSuccess) {
    TempFolder target("blocked");
    const std::string blocker = target / "blocker";
    const std::string path = blocker + "\\sub\\deeper";
    ASSERT_TRUE(WriteBytes(blocker, "a file where a folder goes"));
    SetLastError(0xdeadbeef);
    ASSERT_FALSE(CreateDirectoryA((blocker + "\\sub").c_str(), NULL));
    const DWORD error = GetLastError();
    {
        PromptRecorder prompts({IDRETRY, IDCANCEL});
        CSetupThread thread;
        EXPECT_FALSE(thread.MakeFolderPath(path.c_str()));
        std::vector<RecordedPrompt> asked = prompts.Prompts();
        ASSERT_EQ(asked.size(), 2u);
        EXPECT_EQ(asked[1].text, FolderPrompt(error, blocker + "\\sub"));
        EXPECT_EQ(asked[1].caption, AfxGetAppName());
    }
    // Retry after the way has been cleared goes on with the rest of the path.
    g_fixPath = blocker;
    g_fixPrompts = 0;
    AfxSetMessageBoxHook(MakeFolderThenRetry);
    CSetupThread thread;
    EXPECT_TRUE(thread.MakeFolderPath(path.c_str()));
    AfxSetMessageBoxHook(NULL);
    EXPECT_EQ(g_fixPrompts, 1);
    EXPECT_TRUE(FileExists(path));
}

TEST(MakeFolderPath, FoldersItMakesLetOnlyAdministratorsChangeThemAndOthersKeepTheirAccess) {
    // On a system whose Program Files has another name, Setup makes the folders below the drive
    // root, whose access lets every user add files; what it makes must not take that over.
    // SYSTEM and the Administrators full control, the users read and run, handed down to what
    // the folder will hold; nothing taken from above.
    CAdminOnlySecurity security(ADMIN_ONLY_FOLDER);
    ASSERT_NE(security.Get(), nullptr) << GetLastError();
    const std::vector<std::string> expected = {"protected", "type 0 flags 0x03 S-1-5-18 0x001f01ff",
                                               "type 0 flags 0x03 S-1-5-32-544 0x001f01ff",
                                               "type 0 flags 0x03 S-1-5-32-545 0x001200a9"};
    EXPECT_EQ(AccessList(security.Get()->lpSecurityDescriptor), expected) << "the folders' descriptor";

    TempFolder target("access");
    const std::string kept = target / "kept";
    ASSERT_WIN32(CreateDirectoryA(kept.c_str(), NULL));
    const std::vector<std::string> keptBefore = AccessList(kept);
    PromptRecorder prompts;
    CSetupThread thread;
    ASSERT_TRUE(thread.MakeFolderPath((kept + "\\made\\below").c_str()));
    EXPECT_TRUE(prompts.Prompts().empty());
    // Read back from the folders. Wine keeps access as Unix modes and gives back entries for
    // SYSTEM and the owner (this elevated test's own user, standing in for the Administrators),
    // and one for everyone while others may read: so every entry must belong to one of these, the
    // users' only with read and run.
    for (const char* below : {"\\made", "\\made\\below"}) {
        for (const std::string& entry : AccessList(kept + below)) {
            const bool admin = entry.find(" S-1-5-18 ") != std::string::npos ||
                               entry.find(" S-1-5-32-544 ") != std::string::npos ||
                               entry.find(" S-1-5-21-") != std::string::npos;
            EXPECT_TRUE(admin || entry == "protected" || entry == expected[3])
                << kept + below << ": an entry for others: " << entry;
        }
    }
    EXPECT_EQ(AccessList(kept), keptBefore) << "an existing folder keeps its own access";
}

TEST(MakeFolderPath, FolderThatExistsButIsNotFoundBySearchIsNoFailure) {
    // Wine's search does not see the host's /dev under Z:, though the folder is there.
    WIN32_FIND_DATAA data;
    ASSERT_EQ(FindFirstFileA("Z:\\dev", &data), INVALID_HANDLE_VALUE);
    ASSERT_NE(GetFileAttributesA("Z:\\dev") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    PromptRecorder prompts({IDCANCEL});
    CSetupThread thread;
    EXPECT_TRUE(thread.MakeFolderPath("Z:\\dev"));
    EXPECT_TRUE(prompts.Prompts().empty()) << prompts.Prompts()[0].text;
}

TEST(CopyFolder, RetryFindsAFolderPutInPlaceMeanwhile) {
    TempFolder source("retry"), target("retry-target");
    g_fixPath = source / "Database";
    g_fixPrompts = 0;
    AfxSetMessageBoxHook(MakeFolderThenRetry);
    CSetupThread thread;
    EXPECT_TRUE(thread.CopyFolder((source / "Database").c_str(), (target / "Database").c_str()));
    AfxSetMessageBoxHook(NULL);
    EXPECT_EQ(g_fixPrompts, 1);
    EXPECT_EQ(std::string(thread.m_strRecord),
              "Made Dir: " + target / "Database\nFile Copy: " + target / "Database\\z.txt\n");
}

TEST(CopyFolder, StopInASubfolderUnwindsAtOnce) {
    TempFolder source("unwind"), target("unwind-target");
    ASSERT_WIN32(CreateDirectoryA((source / "Support").c_str(), NULL));
    ASSERT_WIN32(CreateDirectoryA((source / "Support\\Sub").c_str(), NULL));
    for (const char* name : {"Support\\a.txt", "Support\\Sub\\b.txt", "Support\\y.txt"})
        ASSERT_TRUE(WriteBytes(source / name, name));
    ASSERT_TRUE(WriteBytes(target / "Support", "a file: taken as the folder, Sub cannot be made in it"));

    PromptRecorder prompts({IDCANCEL});
    InstallWindow window;
    CSetupThread thread;
    thread.m_pMainWnd = window.Wnd();
    EXPECT_FALSE(thread.CopyFolder((source / "Support").c_str(), (target / "Support").c_str()));
    EXPECT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(std::string(thread.m_strRecord),
              "Made Dir: " + target / "Support\nMade Dir: " + target / "Support\\Sub\n");
    ASSERT_EQ(window.steps.size(), 1u) << "nothing after the stop";
    EXPECT_EQ(window.steps[0].target, target / "Support\\a.txt");
}

TEST(ListFiles, ListsOnlyTheFilesOfTheFolderThatMatch) {
    TempFolder folder("list");
    for (const char* name : {"b.ocx", "a.OCX", "c.txt", "sub.ocx\\d.ocx"}) {
        if (strchr(name, '\\')) {
            ASSERT_WIN32(CreateDirectoryA((folder / "sub.ocx").c_str(), NULL));
        }
        ASSERT_TRUE(WriteBytes(folder / name, ""));
    }
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    CSetupThread thread;
    CStringArray names;
    names.Add("stale");
    thread.ListFiles(folder.Path().c_str(), "*.ocx", names);
    ASSERT_EQ(names.GetSize(), 2);
    EXPECT_EQ(std::string(names[0]), "a.OCX");
    EXPECT_EQ(std::string(names[1]), "b.ocx");
    thread.ListFiles((folder / "missing").c_str(), "*.*", names);
    EXPECT_EQ(names.GetSize(), 0) << "a folder that cannot be searched lists nothing";
    char after[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before);
}
