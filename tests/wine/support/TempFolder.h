// A private folder for one test, made fresh and removed with everything in it at the end, and the
// file helpers the tests share.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class TempFolder {
public:
    // Creates <temp>\pm-<name>-<unique>\ ; the name may hold GBK characters.
    explicit TempFolder(const std::string& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending in a backslash.
    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& relative) const { return m_path + relative; }

private:
    std::string m_path;
};

// A name unique to this test process, for folders and keys that the whole prefix shares.
std::string UniqueName(const std::string& prefix);

// Removes a file or a folder tree, clearing read-only marks on the way.
void RemoveTree(const std::string& path);
void RemoveTree(const std::wstring& path);
// Writes bytes to a file (binary), creating it.
bool WriteBytes(const std::string& path, const std::string& bytes);
// Reads a whole file (binary); false when it cannot be opened.
bool ReadBytes(const std::string& path, std::string& bytes);
bool FileExists(const std::string& path);
// The lines of a text, CR LF or LF ended; an unterminated last line is kept.
std::vector<std::string> TextLines(const std::string& text);
// folder + a name of fill bytes and the tail: a path of exactly `length` bytes.
std::string PathOfLength(const std::string& folder, size_t length, char fill, const std::string& tail = "");

// Holds a file open without sharing, as another program may: nothing can replace, delete or read
// it until the release.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile() { Release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Release();

private:
    HANDLE m_handle;
};
