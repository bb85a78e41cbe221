// Messages between the uninstall worker and the uninstall dialog.
#pragma once
#include <windows.h>

#define UM_FILE_DELETED (WM_USER + 12)      // lParam: path of the file record just handled
#define UM_FILES_DONE (WM_USER + 13)        // the file stage is over
#define UM_UNINSTALL_DONE (WM_USER + 14)    // every stage has run
#define UM_UNINSTALL_FAILED (WM_USER + 16)  // the record could not be read (posted)
