// The real Setup.exe installing onto a disk too small, and onto one that another program fills in
// the middle of the copy; then the real Uninstall.exe removing what was installed. The install
// folder is a small tmpfs mounted over its place in the prefix (the target folder is fixed on the
// system drive), filled and emptied by the test while Setup's prompts wait.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <set>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "framework/SystemErrorText.h"
#include "setup/RoomCount.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

#ifndef PM_HOST_TMPFS_SCRIPT
#error "PM_HOST_TMPFS_SCRIPT must name install-folder-tmpfs.sh on the host"
#endif

namespace {

const ULONGLONG kPage = 4096;  // tmpfs gives each file whole pages
const int kBulkFiles = 200;
const ULONGLONG kSpare = 32;        // pages of the tmpfs beyond the payload: the record and some more
const char kFiller[] = "填充.bin";  // another program's file, which fills the disk

ULONGLONG Pages(ULONGLONG bytes) {
    return (bytes + kPage - 1) / kPage;
}

ULONGLONG FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Every file below `folder` (ending in a backslash), with its size; `skip` is left out.
void ListFiles(const std::string& folder, const std::string& skip, std::map<std::string, ULONGLONG>& files) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = data.cFileName, path = folder + name;
        if (name == "." || name == ".." || path == skip) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(path + "\\", skip, files);
        else
            files[path] = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

// The host's path of a Windows path, as Wine maps it.
std::string HostPath(const std::string& windowsPath) {
    typedef char*(CDECL * UnixFileName)(LPCWSTR);
    UnixFileName unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (unixFileName == NULL) return "";
    int size = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, NULL, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, &wide[0], size);
    char* unixPath = unixFileName(wide.c_str());
    if (unixPath == NULL) return "";
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

// A tmpfs of `bytes` mounted over a folder for the lifetime of the object, through the host
// script, which Wine runs as a host program. Unmounted again on every path out of the test.
class FolderTmpfs {
public:
    FolderTmpfs(const std::string& folder, ULONGLONG bytes) : m_status("tmpfs"), m_folder(HostPath(folder)) {
        if (m_folder.empty()) {
            m_error = "Wine gives no host path for " + folder;
            return;
        }
        m_mounted = Script("mount \"" + m_folder + "\" " + std::to_string(bytes) + " ", m_error);
    }
    ~FolderTmpfs() { Unmount(); }
    FolderTmpfs(const FolderTmpfs&) = delete;
    FolderTmpfs& operator=(const FolderTmpfs&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::string& Error() const { return m_error; }
    bool Unmount() {
        if (!m_mounted) return true;
        std::string error;
        m_mounted = !Script("unmount \"" + m_folder + "\" ", error);
        if (m_mounted) ADD_FAILURE() << "the tmpfs over " << m_folder << " stays mounted: " << error;
        return !m_mounted;
    }

private:
    // Runs the script with the arguments and a status file after them; true when it reported 0.
    bool Script(const std::string& arguments, std::string& error) {
        const std::string status = m_status / ("status-" + std::to_string(++m_runs));
        std::string command =
            "/bin/sh \"" PM_HOST_TMPFS_SCRIPT "\" " + arguments + "\"" + HostPath(status) + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA("Z:\\bin\\sh", &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) {
            error = "cannot start the host's /bin/sh: error " + std::to_string(GetLastError());
            return false;
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        // Wine does not wait for a host program: the script reports through the status file.
        std::string text;
        if (!WaitUntil([&] { return ReadBytes(status, text) && !text.empty(); }, 30000)) {
            error = "the host script did not report";
            return false;
        }
        ReadBytes(status + ".err", error);
        return atoi(text.c_str()) == 0;
    }

    TempFolder m_status;
    std::string m_folder;  // on the host
    std::string m_error;
    bool m_mounted = false;
    int m_runs = 0;
};

ULONGLONG FreeBytes(const std::string& folder) {
    ULARGE_INTEGER free = {};
    return GetDiskFreeSpaceExA(folder.c_str(), &free, NULL, NULL) ? free.QuadPart : 0;
}

// Another program fills the disk of `folder` until `leave` bytes (whole pages) are free.
void FillDisk(const std::string& folder, ULONGLONG leave) {
    const ULONGLONG free = FreeBytes(folder);
    ASSERT_GT(free, leave) << "the disk is fuller than the test means it to be";
    ASSERT_TRUE(WriteBytes(folder + kFiller, std::string(free - leave, 'z')));
    ASSERT_EQ(FreeBytes(folder), leave);
}

// The files below the four install folders of a source, and its loose files, with their sizes,
// by path relative to the source.
std::map<std::string, ULONGLONG> Payload(const std::string& source) {
    std::map<std::string, ULONGLONG> files, payload;
    for (const char* folder : {"Support\\", "Controls\\", "Database\\", "Dunmoor\\"})
        ListFiles(source + folder, "", files);
    for (const char* loose : {"Uninstall.exe", "安装说明.txt"})
        files[source + loose] = FileSize(source + loose);
    for (const auto& file : files) payload[file.first.substr(source.size())] = file.second;
    return payload;
}

ULONGLONG PayloadPages(const std::map<std::string, ULONGLONG>& payload) {
    ULONGLONG pages = 0;
    for (const auto& file : payload) pages += Pages(file.second);
    return pages;
}

std::string DiskFullPrompt(const std::string& file) {
    return std::string(AfxGetSystemErrorText(ERROR_DISK_FULL)) + "\n磁盘空间不足，不能复制文件 " + file +
           " ，\n请释放磁盘空间后点击“重试”按钮重新复制该文件；\n点击“忽略”按钮将跳过该文件并继续执行；\n"
           "点击“中止”按钮将终止程序运行。";
}

std::string RoomPrompt(const std::string& target, const std::string& needed, const std::string& free) {
    return std::string(AfxGetSystemErrorText(ERROR_DISK_FULL)) + "\n目标磁盘空间不足，不能安装到 " + target +
           " ，\n需要 " + needed + " 磁盘空间，可用 " + free +
           "；\n请释放磁盘空间后点击“重试”按钮重新检查；\n点击“取消”按钮将终止程序运行。";
}

// The installed files, with their sizes, and the record's file lines.
void ExpectWholeInstall(const std::string& target, const std::map<std::string, ULONGLONG>& payload,
                        const std::set<std::string>& passedOver) {
    for (const auto& file : payload) {
        if (passedOver.count(file.first)) {
            EXPECT_FALSE(FileExists(target + file.first))
                << "a file passed over is installed: " << file.first;
            continue;
        }
        EXPECT_EQ(FileSize(target + file.first), file.second) << "not whole: " << file.first;
    }
    std::string record;
    ASSERT_TRUE(ReadBytes(target + "Uninstall.log", record)) << "no record";
    const std::string tag = "File Copy: ";
    for (const std::string& line : TextLines(record)) {
        if (line.compare(0, tag.size(), tag) != 0) continue;
        const std::string path = line.substr(tag.size()), relative = path.substr(target.size());
        EXPECT_FALSE(passedOver.count(relative)) << "recorded, though passed over: " << path;
        if (payload.count(relative)) {
            EXPECT_EQ(FileSize(path), payload.at(relative)) << "recorded, not whole: " << path;
        }
    }
}

// Uninstall.exe removes everything it installed; of the tmpfs only `kept` (of the user's) is left.
void ExpectCleanRemoval(const std::string& target, const std::set<std::string>& kept) {
    ProgramRun uninstall = RunUninstall();
    EXPECT_TRUE(uninstall.completed) << "no completion view after " << uninstall.milliseconds << " ms";
    EXPECT_TRUE(uninstall.exited);
    EXPECT_EQ(uninstall.crash, "");
    EXPECT_TRUE(uninstall.boxes.empty()) << uninstall.boxes.front();
    EXPECT_TRUE(WaitForRemovalBatch()) << "the removal batch did not end";
    // The folder itself stays: it is the tmpfs's mount point.
    std::set<std::string> left;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((target + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..") left.insert(target + name);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    for (const std::string& path : left) EXPECT_TRUE(kept.count(path)) << "left behind: " << path;
    for (const std::string& path : kept)
        EXPECT_TRUE(left.count(path)) << "removed, though the user's: " << path;
    EXPECT_TRUE(ProductKeysGone());
}

// The button a box of Setup that the test does not expect is answered with: the one that ends.
int EndingButton(const std::string& text) {
    ADD_FAILURE() << "an unexpected message box: " << text;
    return text.find("“中止”") != std::string::npos   ? IDABORT
           : text.find("“取消”") != std::string::npos ? IDCANCEL
                                                      : IDOK;
}

class DiskFull : public InstallStateTest {};

}  // namespace

// Too little room: Setup says so before it copies anything, with the room it needs (counting the
// files it replaces) and the room free; Retry after room is made installs everything.
TEST_F(DiskFull, TooLittleRoomIsToldBeforeTheCopyAndRetryInstalls) {
    const std::string target = InstallFolder();
    TempFolder disk("disk-room");
    BuildSampleAddOn(disk.Path(), {}, kBulkFiles);
    // Wine's own hhctrl.ocx, which the sample borrows as a control, is larger than all the rest.
    ASSERT_WIN32(DeleteFileA((disk / "Controls\\hhctrl.ocx").c_str()));
    const std::map<std::string, ULONGLONG> payload = Payload(disk.Path());
    const ULONGLONG exePages = Pages(payload.at("Uninstall.exe")), userPages = 4;

    ASSERT_TRUE(MakeFolders(target));
    FolderTmpfs tmpfs(target, (PayloadPages(payload) + userPages + kSpare) * kPage);
    if (!tmpfs.Mounted())
        GTEST_SKIP() << "no tmpfs over the install folder (mounting needs root): " << tmpfs.Error();
    ASSERT_EQ(FreeBytes(target), (PayloadPages(payload) + userPages + kSpare) * kPage)
        << "the install folder is not on the tmpfs";

    // There before the install: a file of the user's, and an earlier install's program and its
    // record of one page, which the new ones replace.
    const std::string userFile = target + "用户数据.dat";
    std::mt19937 random(12345);
    std::string userData(userPages * kPage, '\0');
    for (char& c : userData) c = static_cast<char>(random());
    ASSERT_TRUE(WriteBytes(userFile, userData));
    ASSERT_WIN32(CopyFileA((disk / "Uninstall.exe").c_str(), (target + "Uninstall.exe").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(target + "Uninstall.log", std::string(kPage - 100, 'r')));
    // The room the install needs: every file, less the program it replaces; the new record's
    // pages, a few, less the old record's one.
    const ULONGLONG least = (PayloadPages(payload) - exePages) * kPage, most = least + 8 * kPage;
    const ULONGLONG freeLeft = least / 2 / kPage * kPage;
    ASSERT_NO_FATAL_FAILURE(FillDisk(target, freeLeft));
    std::set<std::string> needTexts;
    for (ULONGLONG bytes = least; bytes <= most; bytes += kPage)
        needTexts.insert(std::string(RoomText(bytes, TRUE)));
    const std::string freeText(RoomText(freeLeft, FALSE));

    int boxes = 0;
    ProgramRun setup = RunSetup(disk.Path(), [&](const std::string& text) {
        if (++boxes > 1) return EndingButton(text);
        const std::string before = "需要 ", after = " 磁盘空间，";
        const size_t at = text.find(before), end = text.find(after);
        const std::string needText = at != std::string::npos && end != std::string::npos
                                         ? text.substr(at + before.size(), end - at - before.size())
                                         : "";
        EXPECT_EQ(text, RoomPrompt(target, needText, freeText));
        EXPECT_TRUE(needTexts.count(needText))
            << "needed " << needText << ", expected " << *needTexts.begin() << " to " << *needTexts.rbegin();
        EXPECT_FALSE(FileExists(target + "Support")) << "the copy began before the room was known";
        EXPECT_TRUE(DeleteFileA((target + kFiller).c_str())) << "error " << GetLastError();
        return IDRETRY;
    });
    EXPECT_TRUE(setup.completed) << "no completion view after " << setup.milliseconds << " ms";
    EXPECT_TRUE(setup.exited);
    EXPECT_EQ(setup.exitCode, 0u);
    EXPECT_EQ(setup.crash, "");
    EXPECT_EQ(setup.boxes.size(), 1u) << "one prompt, before the copy";
    ExpectWholeInstall(target, payload, {});
    std::string data;
    EXPECT_TRUE(ReadBytes(userFile, data) && data == userData) << "the user's file was damaged";

    ExpectCleanRemoval(target, {userFile});
    EXPECT_TRUE(tmpfs.Unmount());
}

// Another program fills the disk while Setup waits at its missing-folder prompt: the copy that
// fails says so and leaves no part of its file. Ignore passes over the file (not installed, not
// recorded); Retry after room is made copies it; the install completes and is removed cleanly.
TEST_F(DiskFull, DiskFilledDuringTheCopyAsksAndLeavesNothingCutShort) {
    const std::string target = InstallFolder();
    TempFolder disk("disk-fills");
    BuildSampleAddOn(disk.Path(), {"Database"});
    ASSERT_WIN32(DeleteFileA((disk / "Controls\\hhctrl.ocx").c_str()));
    const std::string big = "Dunmoor\\big.bin";
    ASSERT_TRUE(WriteBytes(disk / big, std::string(1500000, 'b')));
    const std::map<std::string, ULONGLONG> payload = Payload(disk.Path());
    // Left free once the disk fills: less than big.bin and than Uninstall.exe, which come later.
    const ULONGLONG roomLeft = 16 * kPage;
    ASSERT_GT(payload.at("Uninstall.exe"), roomLeft + 2 * kPage);

    ASSERT_TRUE(MakeFolders(target));
    FolderTmpfs tmpfs(target, (PayloadPages(payload) + kSpare) * kPage);
    if (!tmpfs.Mounted())
        GTEST_SKIP() << "no tmpfs over the install folder (mounting needs root): " << tmpfs.Error();
    ASSERT_EQ(FreeBytes(target), (PayloadPages(payload) + kSpare) * kPage)
        << "the install folder is not on the tmpfs";

    const std::string missing = std::string(AfxGetSystemErrorText(ERROR_PATH_NOT_FOUND)) +
                                "\n找不到安装文件的路径 " + (disk / "Database\\") + "，\n";
    int boxes = 0;
    ProgramRun setup = RunSetup(disk.Path(), [&](const std::string& text) {
        switch (++boxes) {
        case 1:  // the missing folder: meanwhile another program fills the disk
            EXPECT_EQ(text.substr(0, missing.size()), missing);
            EXPECT_NO_FATAL_FAILURE(FillDisk(target, roomLeft));
            return IDIGNORE;
        case 2:
            EXPECT_EQ(text, DiskFullPrompt(target + big));
            EXPECT_FALSE(FileExists(target + big))
                << "the part written of big.bin is left, " << FileSize(target + big) << " bytes";
            return IDIGNORE;
        case 3:
            EXPECT_EQ(text, DiskFullPrompt(target + "Uninstall.exe"));
            EXPECT_FALSE(FileExists(target + "Uninstall.exe"))
                << "the part written is left, " << FileSize(target + "Uninstall.exe") << " bytes";
            EXPECT_TRUE(DeleteFileA((target + kFiller).c_str())) << "error " << GetLastError();
            return IDRETRY;
        default: return EndingButton(text);
        }
    });
    EXPECT_TRUE(setup.completed) << "no completion view after " << setup.milliseconds << " ms";
    EXPECT_TRUE(setup.exited);
    EXPECT_EQ(setup.exitCode, 0u);
    EXPECT_EQ(setup.crash, "");
    EXPECT_EQ(setup.boxes.size(), 3u) << "the missing folder and two full-disk prompts";
    ExpectWholeInstall(target, payload, {big});
    EXPECT_EQ(ControlMarker(target + "Controls\\Grid.ocx"), "registered");

    ExpectCleanRemoval(target, {});
    EXPECT_TRUE(tmpfs.Unmount());
}
