// The real Setup.exe installing onto a disk that fills up, then the real Uninstall.exe removing
// what the cut record names. The install folder is a small tmpfs mounted over its place in the
// prefix (the target folder is fixed on the system drive); it already holds a file of the user's
// and an earlier install's program and record when Setup starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <set>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

#ifndef PM_HOST_TMPFS_SCRIPT
#error "PM_HOST_TMPFS_SCRIPT must name install-folder-tmpfs.sh on the host"
#endif

namespace {

const ULONGLONG kPage = 4096;    // tmpfs gives each file whole pages
const int kBulkFiles = 200;      // far more than the room left for them
const ULONGLONG kBulkRoom = 48;  // pages left for the bulk files: the disk fills among them

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

std::string SystemText(DWORD error) {
    char* text = NULL;
    FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL,
        error, 0x0400, reinterpret_cast<char*>(&text), 0, NULL);
    std::string result = text != NULL ? text : "";
    LocalFree(text);
    while (!result.empty() && strchr(" \t\r\n", result.back())) result.pop_back();
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

class DiskFull : public InstallStateTest {};

}  // namespace

TEST_F(DiskFull, FullDiskIsReportedAndLosesNothing) {
    const std::string target = InstallFolder();
    TempFolder disk("disk-full");
    BuildSampleAddOn(disk.Path(), {}, kBulkFiles);
    // Wine's own hhctrl.ocx, which the sample borrows as a control, is larger than all the rest.
    ASSERT_TRUE(DeleteFileA((disk / "Controls\\hhctrl.ocx").c_str()));

    // Room for what was there, everything but the bulk files, and kBulkRoom pages of those.
    std::map<std::string, ULONGLONG> payload;
    for (const char* folder : {"Support\\", "Controls\\", "Database\\", "Dunmoor\\"})
        ListFiles(disk / folder, disk / "Database\\批量", payload);
    ULONGLONG pages = 0;
    for (const auto& file : payload) pages += Pages(file.second);
    const std::string userFile = target + "用户数据.dat";
    const ULONGLONG userBytes = 4 * kPage, exeBytes = FileSize(DistFolder() + "Uninstall.exe");
    pages += Pages(userBytes) + Pages(exeBytes) + 1 + kBulkRoom;

    ASSERT_TRUE(MakeFolders(target));
    FolderTmpfs tmpfs(target, pages * kPage);
    if (!tmpfs.Mounted())
        GTEST_SKIP() << "no tmpfs over the install folder (mounting needs root): " << tmpfs.Error();
    ULARGE_INTEGER total = {};
    ASSERT_TRUE(GetDiskFreeSpaceExA(target.c_str(), NULL, &total, NULL));
    ASSERT_EQ(total.QuadPart, pages * kPage) << "the install folder is not on the tmpfs";

    // There before the install: a file of the user's, and an earlier install's program and its
    // record of one page, which Setup deletes before it writes the new one.
    std::mt19937 random(12345);
    std::string userData(userBytes, '\0');
    for (char& c : userData) c = static_cast<char>(random());
    ASSERT_TRUE(WriteBytes(userFile, userData));
    ASSERT_TRUE(
        CopyFileA((DistFolder() + "Uninstall.exe").c_str(), (target + "Uninstall.exe").c_str(), FALSE));
    std::string oldRecord;
    while (oldRecord.size() < kPage - 100) oldRecord += "File Copy: " + target + "旧的文件.txt\r\n";
    ASSERT_TRUE(WriteBytes(target + "Uninstall.log", oldRecord));
    SetFileAttributesA((target + "Uninstall.log").c_str(), FILE_ATTRIBUTE_HIDDEN);

    // The install goes on past the copies that fail, and reports the record it cannot write.
    ProgramRun setup = RunSetup(disk.Path());
    EXPECT_TRUE(setup.completed) << "no completion view after " << setup.milliseconds << " ms";
    EXPECT_TRUE(setup.exited);
    EXPECT_EQ(setup.exitCode, 0u);
    EXPECT_EQ(setup.crash, "");
    ASSERT_EQ(setup.boxes.size(), 1u) << "one report, of the record file";
    EXPECT_EQ(setup.boxes[0], target + "Uninstall.log\n" + SystemText(ERROR_DISK_FULL));
    std::string data;
    EXPECT_TRUE(ReadBytes(userFile, data) && data == userData) << "the user's file was damaged";
    EXPECT_TRUE(RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY)) << "the stages after the copy ran";
    EXPECT_EQ(ControlMarker(target + "Controls\\Grid.ocx"), "registered");
    int bulkCopied = 0;
    for (int i = 0; i < kBulkFiles; ++i)
        bulkCopied += FileSize(target + "Database\\批量\\" + std::to_string(i) + ".dat") > 0;
    EXPECT_GT(bulkCopied, 0);
    EXPECT_LT(bulkCopied, kBulkFiles) << "the disk never filled";

    // The record holds what fitted into the page the old record freed: complete lines, and
    // most likely a last one cut short.
    std::string record;
    ASSERT_TRUE(ReadBytes(target + "Uninstall.log", record));
    ASSERT_FALSE(record.empty());
    std::vector<std::string> lines = TextLines(record);
    std::string piece;
    if (record.back() != '\n') {
        piece = lines.back();
        lines.pop_back();
    }
    std::set<std::string> named;
    for (const std::string& line : lines) {
        for (const char* tag : {"File Copy: ", "Reg Ctrl: "})
            if (line.compare(0, strlen(tag), tag) == 0) named.insert(line.substr(strlen(tag)));
    }
    for (const std::string& path : named)
        EXPECT_TRUE(FileExists(path)) << "recorded but not copied: " << path;
    // What the cut line names, if anything, is made (empty files need no room): it must stay.
    const std::string fileTag = "File Copy: ";
    if (piece.compare(0, fileTag.size(), fileTag) == 0 && piece.size() > fileTag.size() + target.size() &&
        piece.compare(fileTag.size(), target.size(), target) == 0 &&
        !FileExists(piece.substr(fileTag.size())))
        WriteBytes(piece.substr(fileTag.size()), "");
    printf("disk full: %d of %d bulk files copied, record of %zu bytes, cut line \"%s\"\n", bulkCopied,
           kBulkFiles, record.size(), piece.c_str());

    // A later uninstall removes what the record names in full, and nothing else.
    std::map<std::string, ULONGLONG> before;
    ListFiles(target, "", before);
    ProgramRun uninstall = RunUninstall();
    EXPECT_TRUE(uninstall.completed) << "no completion view after " << uninstall.milliseconds << " ms";
    EXPECT_TRUE(uninstall.exited);
    EXPECT_EQ(uninstall.crash, "");
    EXPECT_TRUE(uninstall.boxes.empty());
    EXPECT_TRUE(WaitForRemovalBatch()) << "the removal batch did not end";
    for (const auto& file : before) {
        // The running program is deleted by the batch, recorded or not.
        const bool gone = named.count(file.first) > 0 || file.first == target + "Uninstall.exe";
        EXPECT_NE(FileExists(file.first), gone)
            << (gone ? "not removed: " : "removed, not named in full: ") << file.first;
    }
    EXPECT_TRUE(ReadBytes(userFile, data) && data == userData) << "the user's file was damaged";
    EXPECT_TRUE(tmpfs.Unmount());
}
