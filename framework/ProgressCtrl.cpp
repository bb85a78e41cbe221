#include "framework/ProgressCtrl.h"

#include "framework/CommonControls.h"

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID) {
    AfxInitCommonControls(ICC_PROGRESS_CLASS);
    return CreateEx(0, PROGRESS_CLASSA, NULL, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParent != NULL ? pParent->m_hWnd : NULL,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}
