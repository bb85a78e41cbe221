// CUninstallDlg: the uninstall dialog. Finds the install record, loads it into the worker, runs
// the worker and shows its progress, then the completion view.
#pragma once
#include <windows.h>

#include "controls/PercentProgressCtrl.h"
#include "controls/ShadowLabel.h"
#include "controls/TexturedButton.h"
#include "framework/Button.h"
#include "framework/Dialog.h"
#include "framework/NarrowString.h"
#include "framework/Static.h"
#include "uninstall/UninstallThread.h"

class CUninstallDlg : public CDialog {
public:
    // hInstallLock: the install lock this process holds, for the removal batch to hold on; NULL
    // when it has none.
    explicit CUninstallDlg(HANDLE hInstallLock = NULL, CWnd* pParent = NULL);
    ~CUninstallDlg() override;

    // The product key's "installPath" with a backslash ensured at its end; FALSE when the key or
    // the value cannot be read.
    BOOL ReadInstallPath(CString& strPath);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDestroy();
    afx_msg LRESULT OnFileDeleted(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFilesDone(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUninstallDone(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUninstallFailed(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CStatic m_wndDoneText;
    CButton m_wndGroup;
    CShadowLabel m_wndThanks;
    CTexturedButton m_btnFinish;
    CTexturedButton m_btnCancel;
    CStatic m_wndStatus;
    CPercentProgressCtrl m_wndProgress;
    HICON m_hIcon;
    HANDLE m_hInstallLock;
    CUninstallThread m_thread;
};
