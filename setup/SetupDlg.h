// CSetupDlg: the install dialog. Works out the source and target folders, sizes the progress bar
// by the files to copy, runs the install worker, and shows the completion view.
#pragma once
#include <windows.h>

#include "controls/ColorLabel.h"
#include "controls/PercentProgressCtrl.h"
#include "framework/Button.h"
#include "framework/Dialog.h"
#include "framework/NarrowString.h"
#include "framework/Static.h"
#include "record/InstallLock.h"
#include "setup/SetupThread.h"

class CSetupDlg : public CDialog {
public:
    // pInstallLock: the lock the install needs, taken already or waited for here; NULL installs
    // without one.
    explicit CSetupDlg(CInstallLock* pInstallLock = NULL, CWnd* pParent = NULL);
    // The worker must never outlive the dialog's members: waits for it.
    ~CSetupDlg() override;

    // Files (not folders) anywhere below the four install folders of the source folder.
    int CountInstallFiles();
    int CountFiles(CString strFolder, BOOL bRecurse);

    const CString& SourceDir() const { return m_strSourceDir; }
    const CString& TargetDir() const { return m_strTargetDir; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnInstallStep(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInstallDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CString m_strSourceDir;
    CString m_strTargetDir;
    CColorLabel m_wndHint;
    CStatic m_wndPicture;
    CButton m_btnFinish;
    CPercentProgressCtrl m_wndProgress;
    HICON m_hIcon;
    CSetupThread m_thread;

private:
    void FindFolders();
    // TRUE when the install may start: the lock is held, or cannot be had at all (which tells of no
    // other installer).
    BOOL TakeInstallLock();
    // The wait for the lock, while another program's removal batch holds it: a timer tries again.
    void WaitForInstallLock();
    // Starts the worker; when the system cannot, says why and ends the dialog.
    void StartInstall();

    CInstallLock* m_pInstallLock;
    DWORD m_dwWaitStart;  // tick count when the wait for the lock began
    DWORD m_dwIdleSince;  // tick count since when the holder showed neither a window nor a batch
    BOOL m_bWaiting;      // waiting for the lock: nothing has started, so the dialog may be closed
    BOOL m_bInstallDone;  // the completion view is shown
};
