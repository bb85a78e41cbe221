// The pixels of the uninstall dialog's two textured buttons, built in the dialog's order.
#pragma once
#include <string>

class TestParent;

// Builds IDOK ("完成", pattern 7) then IDCANCEL ("取消", pattern 6) on the parent, both
// 72 x 23 with grain 8 and a 10 % hot tint, and appends what both show as 0x00RRGGBB words.
bool DumpDialogButtonFaces(TestParent& parent, std::string& bytes);
