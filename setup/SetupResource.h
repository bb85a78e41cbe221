// Resource ids of Setup.exe.
#pragma once

#define IDR_MAINFRAME 128      // application icon
#define IDB_SETUP_PICTURE 138  // the install dialog's picture, 600 x 345, 24 bits per pixel
#define IDD_SETUP_DIALOG 102

#define IDC_SETUP_PROGRESS 1002
#define IDC_SETUP_PICTURE 1005
#define IDC_SETUP_HINT 1010
