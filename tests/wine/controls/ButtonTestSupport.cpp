#include "ButtonTestSupport.h"

#include <cstdlib>

#include "controls/ButtonFaces.h"
#include "controls/ReliefPattern.h"

BOOL AttachTexturedButton(CTexturedButton& button, HWND parent, const char* text, int x, int y, int width,
                          int height, UINT id, DWORD extraStyle) {
    HWND window = ::CreateWindowExA(
        0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | extraStyle, x, y, width,
        height, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(NULL), NULL);
    return window != NULL && button.SubclassWindow(window);
}

COLORREF DibColor(const CDibImage& image, int x, int y) {
    return image.GetTableEntry(image.GetIndex(x, y));
}

ExpectedFaces::ExpectedFaces(int width, int height, UINT pattern) {
    CFaceParams params = {width,
                          height,
                          4,
                          pattern,
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
