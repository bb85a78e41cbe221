// A tree on disk and its install record, made the way the installer makes them: each folder's
// record before the records of what it holds, one file record per file, then control records,
// registry-key records and, last, the record file itself.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/NarrowString.h"
#include "record/RecordFormat.h"

class CFakeInstall {
public:
    explicit CFakeInstall(const std::string& strTarget);  // ends with a backslash; made here

    std::string Folder(const std::string& strRelative);
    // bCreate false records a file that is not there (already gone before the uninstall).
    std::string File(const std::string& strRelative, bool bCreate = true);
    // A copy of a module, recorded as a file.
    std::string CopyOf(const std::string& strModule, const std::string& strRelative);
    void Control(const std::string& strPath);
    void Key(RecordHive hive, const std::string& strKeyPath);
    // Writes the hidden record file; returns its path.
    std::string WriteRecord();

    const std::string& Target() const { return m_strTarget; }
    std::string Record() const { return std::string(m_strRecord, m_strRecord.GetLength()); }
    const std::vector<std::string>& Files() const { return m_files; }
    const std::vector<std::string>& Folders() const { return m_folders; }

private:
    std::string m_strTarget;
    CString m_strRecord;
    std::vector<std::string> m_files;
    std::vector<std::string> m_folders;
};
