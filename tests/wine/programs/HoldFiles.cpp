// The CAD program as the restart tests need it: holds files open as a running CAD holds the
// modules and databases it has loaded (reading, others may only read), until its Wine session
// ends, which is the simulated restart. Separate from the test program, which ends before it.
//   HoldFiles.exe EVENT PATH...   opens every PATH, then sets the named event EVENT
// Ends with 1, the event not set, when a file cannot be opened.
#include <windows.h>

#include <stdio.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    for (int i = 2; i < argc; ++i) {
        HANDLE file = CreateFileW(argv[i], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        if (file == INVALID_HANDLE_VALUE) {
            fwprintf(stderr, L"HoldFiles: cannot open %ls: error %lu\n", argv[i], GetLastError());
            return 1;
        }
        // Never closed: the session's end closes it.
    }
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (ready == NULL || !SetEvent(ready)) return 3;
    Sleep(INFINITE);
    return 0;
}
