#include "framework/Button.h"

BOOL CButton::Create(LPCSTR pszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID) {
    return CreateEx(0, "BUTTON", pszCaption, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParent != NULL ? pParent->m_hWnd : NULL,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (nMsg != WM_DRAWITEM) return CWnd::OnChildNotify(nMsg, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *pResult = TRUE;
    return TRUE;
}
