#include "FakeInstall.h"

#include "record/ProductKeys.h"
#include "record/RecordFile.h"
#include "support/TempFolder.h"

FakeInstall::FakeInstall(const std::string& target) : m_target(target) {
    CreateDirectoryA(m_target.c_str(), NULL);
}

std::string FakeInstall::Folder(const std::string& relative) {
    std::string path = m_target + relative;
    AppendRecord(m_record, RECORD_FOLDER, path.c_str());
    CreateDirectoryA(path.c_str(), NULL);
    m_folders.push_back(path);
    return path;
}

std::string FakeInstall::File(const std::string& relative, bool create) {
    std::string path = m_target + relative;
    if (create) WriteBytes(path, "content of " + relative);
    AppendRecord(m_record, RECORD_FILE, path.c_str());
    m_files.push_back(path);
    return path;
}

std::string FakeInstall::CopyOf(const std::string& module, const std::string& relative) {
    std::string path = m_target + relative;
    CopyFileA(module.c_str(), path.c_str(), FALSE);
    AppendRecord(m_record, RECORD_FILE, path.c_str());
    m_files.push_back(path);
    return path;
}

void FakeInstall::Control(const std::string& path) {
    AppendRecord(m_record, RECORD_CONTROL, path.c_str());
}

void FakeInstall::Key(RecordHive hive, const std::string& keyPath) {
    AppendRegKeyRecord(m_record, hive, keyPath.c_str());
}

std::string FakeInstall::WriteRecord() {
    CFileException error;
    WriteInstallRecordFile(m_target.c_str(), m_record, error);
    std::string path = m_target + RECORD_FILE_NAME;
    m_files.push_back(path);
    return path;
}
