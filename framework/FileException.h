// CFileException: what file operations throw when they fail, with the file's name and the
// system's error code, and its standard report to the user.
#pragma once
#include <windows.h>

#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

class CFileException {
public:
    enum {  // causes in the framework's manner; m_lOsError has the system's own code
        none = 0,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int nCause = none, LONG lOsError = -1, LPCSTR pszFileName = NULL);

    // Maps a system error code to a cause.
    static int OsErrorToException(LONG lOsError);

    // The standard message for this error: the file's name and the system's text for the error.
    CString GetErrorMessage() const;
    // Shows that message in a message box with the application's name as caption, owned by
    // hOwner (the window it is modal to; the program's dialog) when one is given.
    int ReportError(UINT nType = MB_OK, HWND hOwner = NULL) const;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};
