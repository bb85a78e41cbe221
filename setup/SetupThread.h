// CSetupThread: the install worker. Copies the install folders and loose files, registers the
// controls, writes the registry entries and, last, the install record, reporting to its main
// window (the install dialog) with SendMessage.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"
#include "framework/StringArray.h"
#include "framework/WinThread.h"

class CSetupThread : public CWinThread {
public:
    CSetupThread();
    virtual ~CSetupThread();

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // Install record (record/): one line appended per action.
    void AddFileRecord(const CString& strPath);
    void AddFolderRecord(const CString& strPath);
    void AddControlRecord(const CString& strPath);
    void AddRegKeyRecord(HKEY hRoot, const CString& strKeyPath);
    BOOL WriteInstallRecord();

    CString m_strRecord;
    CString m_strSourceDir;  // ends with a backslash; set before the thread starts
    CString m_strTargetDir;  // ends with a backslash; set before the thread starts
};
