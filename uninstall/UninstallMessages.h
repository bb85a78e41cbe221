// Messages between the uninstall worker and the uninstall dialog.
#pragma once
#include <windows.h>

#define UM_FILE_DELETED (WM_USER + 12)      // lParam: path of the file record just handled
#define UM_FILES_DONE (WM_USER + 13)        // the file stage is over
#define UM_UNINSTALL_DONE (WM_USER + 14)    // every stage has run; wParam: how the program goes (below)
#define UM_UNINSTALL_FAILED (WM_USER + 16)  // the record could not be read (posted)

// UM_UNINSTALL_DONE's wParam: 0 when the removal batch takes the program and its folder once the
// program has ended; UNINSTALL_DONE_AT_RESTART when no batch could be written and the system
// deletes them at the next restart instead; UNINSTALL_FILES_AT_RESTART, alone or with the first,
// when files in use, their folders and the install folder go at the next restart.
const WPARAM UNINSTALL_DONE_AT_RESTART = 1;
const WPARAM UNINSTALL_FILES_AT_RESTART = 2;
