// What a test sees of the machine: every file of drive C: and every key and value of HKLM\SOFTWARE,
// HKCU\Software and HKEY_CLASSES_ROOT, and the differences between two such views.
#include "Snapshot.h"

#include <algorithm>
#include <functional>
#include <sstream>

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

std::string NarrowText(const std::wstring& text) {
    if (text.empty()) return "";
    int size =
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0, NULL, NULL);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, NULL, NULL);
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
    RegQueryInfoKeyW(key, NULL, NULL, NULL, &subKeys, &maxSubKey, NULL, &values, &maxValueName, &maxData,
                     NULL, NULL);
    std::vector<wchar_t> name(std::max(maxValueName, maxSubKey) + 2);
    std::vector<BYTE> data(maxData + 2);
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()),
              type = 0;
        if (RegEnumValueW(key, i, name.data(), &nameSize, NULL, &type, data.data(), &dataSize) !=
            ERROR_SUCCESS)
            break;
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

}  // namespace

std::wstring WideText(const std::string& text) {
    if (text.empty()) return L"";
    int size = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

Snapshot TakeSnapshot() {
    Snapshot snapshot;
    WalkFiles(L"C:", ExcludedFolders(), snapshot);
    WalkKey(HKEY_LOCAL_MACHINE, L"HKLM", L"SOFTWARE", snapshot);
    WalkKey(HKEY_CURRENT_USER, L"HKCU", L"Software", snapshot);
    WalkKey(HKEY_CLASSES_ROOT, L"HKCR", L"", snapshot);
    return snapshot;
}

namespace {

// What the design leaves behind on purpose:
// - the CAD releases' application keys, which the uninstall entry's record never names (the
//   CAD releases' own keys under them were there before, made by the test as an installed CAD
//   would have them);
// - the keys above the product key, "SOFTWARE\Kelvora\Pindlemark" and "SOFTWARE\Kelvora": only
//   the product key itself is recorded;
// - the folder above the install folder, "C:\Program Files\Kelvora": it is made on the way to
//   the install folder and, like every folder made only as a parent, never recorded.
bool Intended(const std::wstring& path) {
    return StartsWith(path, L"HKLM\\SOFTWARE\\Autodesk\\AutoCAD\\") ||
           Lower(path) == L"hklm\\software\\kelvora" ||
           Lower(path) == L"hklm\\software\\kelvora\\pindlemark" ||
           Lower(path) == L"c:\\program files\\kelvora";
}

}  // namespace

std::string Differences(const Snapshot& before, const Snapshot& after) {
    std::ostringstream out;
    for (const auto& entry : before) {
        auto found = after.find(entry.first);
        if (found == after.end())
            out << "- " << NarrowText(entry.first) << " (" << entry.second << ")\n";
        else if (found->second != entry.second)
            out << "~ " << NarrowText(entry.first) << ": " << entry.second << " -> " << found->second << "\n";
    }
    for (const auto& entry : after)
        if (!before.count(entry.first) && !Intended(entry.first))
            out << "+ " << NarrowText(entry.first) << " (" << entry.second << ")\n";
    return out.str();
}
