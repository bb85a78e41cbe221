// CUninstallThread: the uninstall worker. Replays the install record kind by kind (controls,
// files, folders, registry keys), starts the self-removal batch and reports to its main window
// (the uninstall dialog) with SendMessage.
#pragma once
#include <windows.h>

#include "framework/NarrowString.h"
#include "framework/WinThread.h"

class CUninstallThread : public CWinThread {
public:
    CUninstallThread();
    virtual ~CUninstallThread();

    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Install record (record/). Called on the dialog thread before the worker starts.
    BOOL ReadInstallRecord(const CString& strPath);
    BOOL FindRecord(int nKind, int& nPos, int& nValueStart, int& nValueLength) const;
    int CountRecords(int nKind) const;

    volatile BOOL m_bStop;  // set by the dialog when it ends early; read by the worker
    CString m_strRecord;
};
