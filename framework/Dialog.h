// CDialog: a modal dialog from a dialog template, attached to its object before its first
// message, with the data exchange that binds the template's controls to control objects.
//
//   class CMyDlg : public CDialog {
//   public:
//       CMyDlg() : CDialog(IDD_MY_DIALOG) {}
//   protected:
//       void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_BAR, m_wndBar); }
//       BOOL OnInitDialog() override { CDialog::OnInitDialog(); ...; return TRUE; }
//       CMyBar m_wndBar;
//   };
//
// DoModal runs its own message loop, so PreTranslateMessage sees every message first; the base
// version does the dialog keyboard handling (IsDialogMessage). The OK and Cancel commands (the
// Enter and Escape keys, the buttons with ids IDOK and IDCANCEL, the close box) call OnOK and
// OnCancel, which end the dialog.
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"
#include "framework/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

// Attaches rControl to the dialog's control nIDC by subclassing it, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    ~CDialog() override;

    // Shows the dialog and returns when it has ended: the result given to EndDialog, or -1 when
    // the dialog could not be created.
    virtual INT_PTR DoModal();
    // Ends the modal loop with nResult; the window is destroyed as DoModal returns.
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Centres the dialog over the given window, else its owner, else the desktop.
    void CenterWindow(HWND hWndAlternateOwner = NULL);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    // For WM_PAINT of a minimised dialog: draws hIcon centred on its erased background and
    // returns TRUE; returns FALSE without painting when the dialog is not minimised.
    BOOL PaintMinimizedIcon(HICON hIcon);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    BOOL OnWndMsg(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    BOOL m_bModalLoop;
    int m_nModalResult;
};
