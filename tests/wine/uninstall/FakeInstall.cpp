#include "FakeInstall.h"

#include "record/ProductKeys.h"
#include "record/RecordFile.h"
#include "support/TempFolder.h"

CFakeInstall::CFakeInstall(const std::string& strTarget) : m_strTarget(strTarget) {
    CreateDirectoryA(m_strTarget.c_str(), NULL);
}

std::string CFakeInstall::Folder(const std::string& strRelative) {
    std::string strPath = m_strTarget + strRelative;
    AppendRecord(m_strRecord, RECORD_FOLDER, strPath.c_str());
    CreateDirectoryA(strPath.c_str(), NULL);
    m_folders.push_back(strPath);
    return strPath;
}

std::string CFakeInstall::File(const std::string& strRelative, bool bCreate) {
    std::string strPath = m_strTarget + strRelative;
    if (bCreate) WriteBytes(strPath, "content of " + strRelative);
    AppendRecord(m_strRecord, RECORD_FILE, strPath.c_str());
    m_files.push_back(strPath);
    return strPath;
}

std::string CFakeInstall::CopyOf(const std::string& strModule, const std::string& strRelative) {
    std::string strPath = m_strTarget + strRelative;
    CopyFileA(strModule.c_str(), strPath.c_str(), FALSE);
    AppendRecord(m_strRecord, RECORD_FILE, strPath.c_str());
    m_files.push_back(strPath);
    return strPath;
}

void CFakeInstall::Control(const std::string& strPath) {
    AppendRecord(m_strRecord, RECORD_CONTROL, strPath.c_str());
}

void CFakeInstall::Key(RecordHive hive, const std::string& strKeyPath) {
    AppendRegKeyRecord(m_strRecord, hive, strKeyPath.c_str());
}

std::string CFakeInstall::WriteRecord() {
    CFileException error;
    WriteInstallRecordFile(m_strTarget.c_str(), m_strRecord, error);
    std::string strPath = m_strTarget + RECORD_FILE_NAME;
    m_files.push_back(strPath);
    return strPath;
}
