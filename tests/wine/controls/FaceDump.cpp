#include "FaceDump.h"

#include "ButtonTestSupport.h"
#include "support/WindowTestSupport.h"

bool DumpDialogButtonFaces(TestParent& parent, std::string& bytes) {
    CTexturedButton finish, cancel;
    if (!AttachTexturedButton(finish, parent.m_hWnd, "完成", 20, 20, 72, 23, IDOK) ||
        !AttachTexturedButton(cancel, parent.m_hWnd, "取消", 110, 20, 72, 23, IDCANCEL)) {
        return false;
    }
    finish.BuildFaces(7, 8, 10, 0, 0);
    cancel.BuildFaces(6, 8, 10, 0, 0);
    Settle(parent.m_hWnd);
    for (CTexturedButton* button : {&finish, &cancel}) {
        PixelGrab grab(button->m_hWnd);
        for (int y = 0; y < grab.Height(); ++y) {
            for (int x = 0; x < grab.Width(); ++x) {
                COLORREF color = grab.At(x, y);
                bytes.append(reinterpret_cast<const char*>(&color), sizeof(color));
            }
        }
    }
    return !bytes.empty();
}
