#include "controls/ColorLabel.h"

#include <shellapi.h>

#include "framework/NarrowString.h"
#include "framework/WideText.h"

BEGIN_MESSAGE_MAP(CColorLabel, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CColorLabel::CColorLabel() : m_crText(::GetSysColor(COLOR_WINDOWTEXT)), m_lfFont() {
    m_brBack.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(m_lfFont), &m_lfFont);
    m_font.CreateFontIndirect(&m_lfFont);
}

CColorLabel::~CColorLabel() {
    if (IsWindow()) SetFont(NULL, FALSE);  // the font dies with this object
}

void CColorLabel::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    // Some static controls select their own font after asking for colours, which would undo
    // the font chosen in CtlColor; so the label's font becomes the control's font as well.
    SetFont(m_font, FALSE);
}

void CColorLabel::SetTextColor(COLORREF cr) {
    m_crText = cr;
    // A null window would make RedrawWindow repaint the whole desktop.
    if (IsWindow()) RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HBRUSH CColorLabel::CtlColor(CDC* pDC, UINT nCtlColor) {
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SelectObject(&m_font);
        pDC->SetTextColor(m_crText);
        pDC->SetBkMode(TRANSPARENT);
    }
    return m_brBack;
}

void CColorLabel::OnLButtonDown(UINT, CPoint) {
    CString strText;
    GetWindowText(strText);
    ::ShellExecuteW(NULL, L"open", CWideText(strText), NULL, NULL, SW_SHOWNORMAL);
    Default();
}
