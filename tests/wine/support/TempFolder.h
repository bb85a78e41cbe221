// A private folder for one test, made fresh and removed with everything in it at the end.
#pragma once
#include <string>

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

// Removes a file or a folder tree, clearing read-only marks on the way.
void RemoveTree(const std::string& path);
// Writes bytes to a file (binary), creating it.
bool WriteBytes(const std::string& path, const std::string& bytes);
// Reads a whole file (binary); false when it cannot be opened.
bool ReadBytes(const std::string& path, std::string& bytes);
bool FileExists(const std::string& path);
