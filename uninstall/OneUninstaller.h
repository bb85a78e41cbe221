// One uninstaller at a time. Two would share the one removal batch and each other's files: the
// first to end would run a batch that cannot delete the program while the second still runs it,
// give up, and strand the second's program and folder. So the second learns of the first through
// a named mutex held for the whole life of the process (the system lets it go on any kind of end),
// brings the first one's window to the front, and ends without doing anything.
#pragma once
#include <windows.h>

#include "framework/Handles.h"

class COneUninstaller {
public:
    COneUninstaller() {}
    COneUninstaller(const COneUninstaller&) = delete;
    COneUninstaller& operator=(const COneUninstaller&) = delete;

    // TRUE when this is the only uninstaller running; it then stays so until the process ends.
    // FALSE when another one holds the mutex: its window, if found, is brought to the front.
    BOOL Acquire(const char* pszConfirmCaption);

private:
    CKernelHandle m_hMutex;
};
