// The text of the self-removal batch "\DelUS.bat" and the command that runs it. The batch runs
// after Uninstall has ended: it deletes the executable, removes the executable's folder if that is
// empty, and deletes itself. Built here, free of the platform, so that every byte can be checked.
//
// The command interpreter is started before the batch file is written, and first waits for the
// program to end, however long that takes: its standard input is a pipe whose only writer is the
// running program (RemovalBatch.cpp), so its "set /p" returns only when the system closes that
// end, which it does when the program ends in any way (closed, killed, crashed). Only then does it
// run the batch. So a program that is ended at any moment leaves either no batch file or one that
// a waiting interpreter will run: never a batch that nothing runs.
//
// In the batch only a bound counts: the deletion is tried at once and, while it fails, again
// after a pause of about a second (the pause between ping's two echoes; ping.exe is in the system
// folder from Windows XP on, and in Wine's), nPasses tries in all. Once they have all failed
// (the executable lives on a read-only medium, or the user may not delete it) the batch gives up:
// it leaves the executable and its folder and still deletes itself. "setlocal enableextensions"
// makes the counter's "set /a" and "GTR" work even where command extensions are switched off by
// policy.
//
// The batch runs elevated, so it names nothing that another user could put in its way: every path
// is a full one, the one external program is named by its full path with its extension (neither
// the current folder, which is the system folder anyway, nor PATH or PATHEXT is searched), and the
// install record, should it still be there, goes with the executable.
//
// Paths are quoted as they are, except that each '%' is doubled: in a batch file "%...%" is
// expanded inside quotes too, so a folder named "a%b%c" would otherwise name another file.
#pragma once

#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

// The batch's place: the root of the drive that is current for the process. The batch names
// itself by the full path this gives (GetFullPathNameA).
const char REMOVAL_BATCH_PATH[] = "\\DelUS.bat";

// The text must fit a buffer of this many bytes with its terminating NUL. Every set of paths fits:
// each is below MAX_PATH, each of its bytes a doubled '%' at worst, and the executable's path is
// named twice besides its folder.
const int REMOVAL_BATCH_TEXT_LIMIT = 4096;

// Tries after the program has ended, about one second apart: the image of an ended program is
// released within moments, so two minutes leave room for a slow machine or a virus scanner.
// Test builds (PM_TEST_SEAMS) give up after seconds, not minutes.
#ifdef PM_TEST_SEAMS
const int REMOVAL_BATCH_PASSES = 3;
#else
const int REMOVAL_BATCH_PASSES = 120;
#endif

// What the batch names, each by its full path.
struct CRemovalBatchPaths {
    CString strExe;     // the running executable
    CString strRecord;  // the install record, deleted with it; empty when the batch leaves it alone
    CString strPause;   // the system folder's ping.exe
    CString strBatch;   // the batch file itself
};

// FALSE (and strText empty) when a path (the record's aside, which may be empty) is not a full one
// ("X:\..." or "\\server\..."), or holds a byte that would break the quoting (NUL, double quote,
// CR, LF), when nPasses is not positive, or when the text would not fit REMOVAL_BATCH_TEXT_LIMIT.
BOOL BuildRemovalBatchText(const CRemovalBatchPaths& paths, int nPasses, CString& strText);

// The command line's size limit, with its terminating NUL: both paths are below MAX_PATH.
const int REMOVAL_BATCH_COMMAND_LIMIT = 1024;

// The command line that starts strInterpreter (cmd.exe's full path) on strBatch once the input
// ends. FALSE (and strCommand empty) when a path is not a full one, holds a byte that would break
// the quoting, the batch's path holds a '%' (which a command line cannot escape), or the line
// would not fit REMOVAL_BATCH_COMMAND_LIMIT.
BOOL BuildRemovalBatchCommand(const CString& strInterpreter, const CString& strBatch, CString& strCommand);
