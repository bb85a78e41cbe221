#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "controls/ColorLabel.h"
#include "support/TempFolder.h"
#include "support/WindowTestSupport.h"

namespace {

HWND MakeStatic(TestParent& parent, const char* text, DWORD style, int y) {
    return CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, y, 380, 24, parent.m_hWnd,
                           NULL, GetModuleHandleA(NULL), NULL);
}

}  // namespace

// Clicking a notify-style label opens its text with the shell: here a batch file that leaves a
// mark. Without the notify style the click never reaches the label.
TEST(ColorLabelClick, OpensTheTextOnlyWithTheNotifyStyle) {
    TestParent parent(400, 300);
    TempFolder folder("label-click");
    std::string batch = folder / "open.bat", marker = folder / "opened.txt";
    ASSERT_TRUE(WriteBytes(batch, "@echo opened> \"" + marker + "\"\r\n"));

    CColorLabel deaf, notify;
    ASSERT_TRUE(deaf.SubclassWindow(MakeStatic(parent, batch.c_str(), 0, 10)));
    ASSERT_TRUE(notify.SubclassWindow(MakeStatic(parent, batch.c_str(), SS_NOTIFY, 60)));
    Settle(parent.m_hWnd);

    POINT pt = WindowCentre(deaf.m_hWnd);
    MouseMoveTo(pt.x, pt.y);
    MouseButton(true);
    MouseButton(false);
    PumpMessages(3000);
    EXPECT_FALSE(FileExists(marker)) << "a label without SS_NOTIFY ignores the click";

    pt = WindowCentre(notify.m_hWnd);
    MouseMoveTo(pt.x, pt.y);
    MouseButton(true);
    MouseButton(false);
    for (int i = 0; i < 300 && !FileExists(marker); ++i) PumpMessages(50);
    EXPECT_TRUE(FileExists(marker)) << "the shell ran " << batch;
    PumpMessages(500);  // let the batch end before its folder goes
}
