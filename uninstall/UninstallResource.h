// Resource ids of Uninstall.exe.
#pragma once

#define IDR_MAINFRAME 128  // application icon
#define IDD_UNINSTALL_DIALOG 102
#include "record/ProgramWindows.h"  // UNINSTALL_DIALOG_TITLE, the dialog's caption

#define IDC_UNINSTALL_PROGRESS 1000
#define IDC_UNINSTALL_STATUS 1001
#define IDC_UNINSTALL_THANKS 1002
#define IDC_UNINSTALL_DONE_TEXT 1003
#define IDC_UNINSTALL_GROUP 1004
