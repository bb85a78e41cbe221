#include "ButtonTestSupport.h"

#include <cstdlib>

#include "controls/ButtonFaces.h"
#include "controls/ReliefPattern.h"

BOOL AttachTexturedButton(CTexturedButton& button, HWND hParent, const char* pszText, int x, int y,
                          int nWidth, int nHeight, UINT nID, DWORD dwExtraStyle) {
    HWND hWnd = ::CreateWindowExA(
        0, "BUTTON", pszText, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | dwExtraStyle, x, y, nWidth,
        nHeight, hParent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), ::GetModuleHandleA(NULL),
        NULL);
    return hWnd != NULL && button.SubclassWindow(hWnd);
}

COLORREF DibColor(const CDibImage& image, int x, int y) {
    return image.GetTableEntry(image.GetIndex(x, y));
}

CExpectedFaces::CExpectedFaces(int nWidth, int nHeight, UINT nPattern) {
    CFaceParams params = {nWidth,
                          nHeight,
                          4,
                          nPattern,
                          8,
                          10,
                          0,
                          0,
                          ::GetSysColor(COLOR_BTNSHADOW),
                          ::GetSysColor(COLOR_BTNFACE),
                          ::GetSysColor(COLOR_BTNHIGHLIGHT)};
    CFaceImages images = {&face, &pressed, &disabled, &hot, &focusH, &focusV};
    std::srand(1);
    CRandGrain grain(8);
    BuildButtonFaces(params, images, grain);
}
