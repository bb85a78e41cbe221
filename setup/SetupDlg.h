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
#include "setup/SetupThread.h"

class CSetupDlg : public CDialog {
public:
    explicit CSetupDlg(CWnd* pParent = NULL);
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
    BOOL m_bInstallDone;  // the completion view is shown
};
