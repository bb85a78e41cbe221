#include "TempFolder.h"

#include <stdexcept>

#include "GbkText.h"

TempFolder::TempFolder(const std::string& name) {
    wchar_t temp[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH) throw std::runtime_error("GetTempPathW failed");
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string candidate = Gbk(temp) + UniqueName("pm-" + name);
        if (CreateDirectoryW(Wide(candidate).c_str(), NULL)) {
            m_path = candidate + "\\";
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    RemoveTree(m_path.substr(0, m_path.size() - 1));
}

std::string UniqueName(const std::string& prefix) {
    static unsigned s_counter = 0;
    return prefix + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_counter);
}

void RemoveTree(const std::string& path) {
    RemoveTree(Wide(path));
}

void RemoveTree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool ReadBytes(const std::string& path, std::string& bytes) {
    HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return true;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        const size_t end = text.find('\n', from);
        std::string line = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
        if (end != std::string::npos && !line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos) break;
        from = end + 1;
    }
    return lines;
}

std::string PathOfLength(const std::string& folder, size_t length, char fill, const std::string& tail) {
    return folder + std::string(length - folder.size() - tail.size(), fill) + tail;
}

HeldFile::HeldFile(const std::string& path)
    : m_handle(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL)) {}

void HeldFile::Release() {
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}
