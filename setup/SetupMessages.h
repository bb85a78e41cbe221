// Messages the install worker sends to the install dialog.
#pragma once
#include <windows.h>

// One progress step: wParam = source path text, lParam = target path text (valid during the call).
#define UM_INSTALL_STEP (WM_USER + 88)
// The install is complete. Below WM_USER, as the dialog has always received it. wParam: 0, or
// INSTALL_DONE_AT_RESTART when files in use are replaced only at the next restart.
#define UM_INSTALL_DONE 0x03F5
const WPARAM INSTALL_DONE_AT_RESTART = 1;
// When the user stops the install at a prompt, the worker posts WM_CLOSE to the dialog instead
// of UM_INSTALL_DONE, so that the dialog ends on its own thread without the completion view.
