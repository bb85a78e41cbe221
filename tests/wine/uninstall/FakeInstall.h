// A tree on disk and its install record, made the way the installer makes them: each folder's
// record before the records of what it holds, one file record per file, then control records,
// registry-key records and, last, the record file itself.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/NarrowString.h"
#include "record/RecordFormat.h"
#include "tests/native/StringBytes.h"

class FakeInstall {
public:
    explicit FakeInstall(const std::string& target);  // ends with a backslash; made here

    std::string Folder(const std::string& relative);
    // create false records a file that is not there (already gone before the uninstall).
    std::string File(const std::string& relative, bool create = true);
    // A copy of a module, recorded as a file.
    std::string CopyOf(const std::string& module, const std::string& relative);
    void Control(const std::string& path);
    void Key(RecordHive hive, const std::string& keyPath);
    // Writes the hidden record file; returns its path.
    std::string WriteRecord();

    const std::string& Target() const { return m_target; }
    std::string Record() const { return Bytes(m_record); }
    const std::vector<std::string>& Files() const { return m_files; }
    const std::vector<std::string>& Folders() const { return m_folders; }

private:
    std::string m_target;
    CString m_record;
    std::vector<std::string> m_files;
    std::vector<std::string> m_folders;
};
