// An install by the real Setup.exe and its removal by the real Uninstall.exe leave the machine as
// they found it: the files of drive C: and the keys and values of HKLM\SOFTWARE, HKCU\Software
// and HKEY_CLASSES_ROOT are the same before and after, but for what the design leaves on purpose.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

#include "FaultRuns.h"
#include "Registry.h"
#include "SampleAddOn.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

namespace {

// Path (files: "C:\...", keys: "HKLM\SOFTWARE\...", values: key path + " = name") → what it is
// (a folder, a file's size, a key, a value's type and a hash of its data).
typedef std::map<std::wstring, std::string> Snapshot;

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return Lower(text.substr(0, prefix.size())) == Lower(prefix);
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return "";
    int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0, NULL, NULL);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, NULL, NULL);
    return out;
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return L"";
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

// Left out of the file walk, each for its reason:
// - the user's temporary folder holds the add-on's source folder that the test builds (the
//   install disk, not the machine) and whatever Wine and the test programs that run in parallel
//   with this one put there;
// - Wine's own temporary folder, for the same reason.
std::vector<std::wstring> ExcludedFolders() {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    std::wstring userTemp = temp;
    if (!userTemp.empty() && userTemp.back() == L'\\') userTemp.pop_back();
    return {userTemp, L"C:\\windows\\temp"};
}

void WalkFiles(const std::wstring& folder, const std::vector<std::wstring>& excluded, Snapshot& snapshot) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring path = folder + L"\\" + name;
        bool skip = false;
        for (const std::wstring& e : excluded) skip = skip || Lower(path) == Lower(e);
        if (skip) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            // Wine links the user's Desktop, Documents and the like to the host user's home
            // folder: the link is part of the prefix, what it leads to is not.
            snapshot[path] = "link";
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot[path] = "folder";
            WalkFiles(path, excluded, snapshot);
        } else {
            ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            snapshot[path] = "file of " + std::to_string(size) + " bytes";
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

// Keys left out of the registry walk:
// - "PindlemarkTests" keys belong to the tests, not to the machine: sandboxes of the registry
//   tests, some of which run in parallel with this one, and the markers that the test control
//   (the sample add-on's control) writes when it is registered and unregistered, so that tests
//   can see it happen;
// - Wine's own state, which Wine's processes and the tests running in parallel change at any
//   time and the programs never touch: "Software\Wine" (settings and the temporary system
//   parameters that a process's display changes leave there) and "NetworkCards", Wine's list of
//   the host's network adapters, written when a process of the prefix first asks for them.
bool ExcludedKey(const std::wstring& path, const std::wstring& name) {
    const std::wstring lower = Lower(name);
    if (lower == L"pindlemarktests" || lower == L"networkcards") return true;
    return lower == L"wine" && Lower(path) == L"software";
}

void WalkKey(HKEY root, const std::wstring& rootName, const std::wstring& path, Snapshot& snapshot) {
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        snapshot[rootName + L"\\" + path] = "key (cannot be opened)";
        return;
    }
    const std::wstring full = path.empty() ? rootName : rootName + L"\\" + path;
    snapshot[full] = "key";
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxData = 0;
    RegQueryInfoKeyW(key, NULL, NULL, NULL, &subKeys, &maxSubKey, NULL, &values, &maxValueName, &maxData, NULL, NULL);
    std::vector<wchar_t> name(std::max(maxValueName, maxSubKey) + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(key, i, name.data(), &nameSize, NULL, &type, data.data(), &dataSize) != ERROR_SUCCESS) break;
        std::string bytes(reinterpret_cast<const char*>(data.data()), dataSize);
        snapshot[full + L" = " + std::wstring(name.data(), nameSize)] =
            "value of type " + std::to_string(type) + ", " + std::to_string(dataSize) + " bytes, hash " +
            std::to_string(std::hash<std::string>()(bytes));
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &nameSize, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) break;
        children.emplace_back(name.data(), nameSize);
    }
    RegCloseKey(key);
    for (const std::wstring& child : children) {
        if (ExcludedKey(path, child)) continue;
        WalkKey(root, rootName, path.empty() ? child : path + L"\\" + child, snapshot);
    }
}

Snapshot TakeSnapshot() {
    Snapshot snapshot;
    WalkFiles(L"C:", ExcludedFolders(), snapshot);
    WalkKey(HKEY_LOCAL_MACHINE, L"HKLM", L"SOFTWARE", snapshot);
    WalkKey(HKEY_CURRENT_USER, L"HKCU", L"Software", snapshot);
    WalkKey(HKEY_CLASSES_ROOT, L"HKCR", L"", snapshot);
    return snapshot;
}

// What the design leaves behind on purpose:
// - the CAD releases' application keys, which the uninstall entry's record never names (the
//   CAD releases' own keys under them were there before, made by the test as an installed CAD
//   would have them);
// - the keys above the product key, "SOFTWARE\Kelvora\Pindlemark" and "SOFTWARE\Kelvora": only
//   the product key itself is recorded;
// - the folder above the install folder, "C:\Program Files\Kelvora": it is made on the way to
//   the install folder and, like every folder made only as a parent, never recorded.
bool Intended(const std::wstring& path) {
    return StartsWith(path, L"HKLM\\SOFTWARE\\Autodesk\\AutoCAD\\") || Lower(path) == L"hklm\\software\\kelvora" ||
           Lower(path) == L"hklm\\software\\kelvora\\pindlemark" || Lower(path) == L"c:\\program files\\kelvora";
}

// The differences, one a line, except the intended ones.
std::string Differences(const Snapshot& before, const Snapshot& after) {
    std::ostringstream out;
    for (const auto& entry : before) {
        auto found = after.find(entry.first);
        if (found == after.end())
            out << "- " << Narrow(entry.first) << " (" << entry.second << ")\n";
        else if (found->second != entry.second)
            out << "~ " << Narrow(entry.first) << ": " << entry.second << " -> " << found->second << "\n";
    }
    for (const auto& entry : after)
        if (!before.count(entry.first) && !Intended(entry.first))
            out << "+ " << Narrow(entry.first) << " (" << entry.second << ")\n";
    return out.str();
}

const char kAcad[] = "SOFTWARE\\Autodesk\\AutoCAD\\";

class ZeroResidue : public ::testing::Test {
protected:
    void SetUp() override {
        WaitForRemovalBatch(30000);
        DeleteFileA(kRemovalBatch);
        RemoveEarlierInstall();
        DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
        DeleteRegTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
    }
    void TearDown() override {
        WaitForRemovalBatch(30000);
        RemoveEarlierInstall();
        DeleteRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Autodesk");
        DeleteRegTree(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");
    }
};

}  // namespace

TEST_F(ZeroResidue, InstallThenUninstallLeavesOnlyWhatIsMeantToStay) {
    // Installed CAD releases, as CAD itself registers them: one with the loader keys (R15.0), one
    // of the machine and one known to the current user only.
    WriteRegString(HKEY_LOCAL_MACHINE, std::string(kAcad) + "R15.0", "CurVer", "ACAD-1:804");
    WriteRegString(HKEY_LOCAL_MACHINE, std::string(kAcad) + "R16.2", "CurVer", "ACAD-4001:804");
    WriteRegString(HKEY_CURRENT_USER, std::string(kAcad) + "R17.0", "CurVer", "ACAD-5001:804");
    TempFolder disk("zero-residue");
    BuildSampleAddOn(disk.Path());
    // Wine's own hhctrl.ocx, which the sample add-on borrows as a control, unregisters the
    // prefix's own help classes when asked to: that is its doing, not the programs'.
    ASSERT_TRUE(DeleteFileA((disk / "Controls\\hhctrl.ocx").c_str()));

    DWORD snapshotStart = GetTickCount();
    const Snapshot before = TakeSnapshot();
    const DWORD snapshotMs = GetTickCount() - snapshotStart;
    ASSERT_GT(before.size(), 1000u);

    ProgramRun setup = RunSetup(disk.Path());
    ASSERT_TRUE(setup.completed && setup.exited) << setup.milliseconds << " ms";
    ASSERT_TRUE(setup.boxes.empty()) << setup.boxes[0];
    // The install did reach everything that must go again.
    const Snapshot installed = TakeSnapshot();
    EXPECT_GT(installed.size(), before.size() + 20) << "the install left no trace to remove";
    EXPECT_TRUE(installed.count(L"HKLM\\" + Wide(kProductKey)));

    ProgramRun uninstall = RunUninstall();
    ASSERT_TRUE(uninstall.completed && uninstall.exited) << uninstall.milliseconds << " ms";
    ASSERT_TRUE(WaitForRemovalBatch()) << "the removal batch did not end";
    ASSERT_TRUE(WaitUntil([] { return !FileExists(InstallFolder()); }, 30000)) << "the install folder stayed";

    const Snapshot after = TakeSnapshot();
    const std::string differences = Differences(before, after);
    EXPECT_TRUE(differences.empty()) << "what the install and the uninstall changed:\n" << differences;
    // The intended leftovers are there, so the exceptions above hide nothing else.
    EXPECT_TRUE(after.count(L"HKLM\\SOFTWARE\\Kelvora\\Pindlemark"));
    EXPECT_TRUE(after.count(L"C:\\Program Files\\Kelvora"));
    printf("zero residue: %zu entries, snapshot in %lu ms\n", before.size(), snapshotMs);
    RecordProperty("snapshot_ms", static_cast<int>(snapshotMs));
}
