#include "framework/Wnd.h"

#include "framework/MessageBox.h"

int CWnd::MessageBox(LPCSTR pszText, LPCSTR pszCaption, UINT nType) const {
    return AfxShowMessageBox(m_hWnd, pszText, pszCaption, nType);
}
