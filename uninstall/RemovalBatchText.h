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
// after a pause of about a second (ping's pause between its two echoes, which exists on every
// cmd.exe from Windows XP on and in Wine's), nPasses tries in all. Once they have all failed
// (the executable lives on a read-only medium, or the user may not delete it) the batch gives up:
// it leaves the executable and its folder and still deletes itself. "setlocal enableextensions"
// makes the counter's "set /a" and "GTR" work even where command extensions are switched off by
// policy.
//
// Paths are quoted as they are, except that each '%' is doubled: in a batch file "%...%" is
// expanded inside quotes too, so a folder named "a%b%c" would otherwise name another file.
#pragma once

#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

// The batch's path: the root of the drive that is current for the process.
const char REMOVAL_BATCH_PATH[] = "\\DelUS.bat";

// The text must fit a buffer of this many bytes with its terminating NUL. Every module path fits
// (at most 259 bytes, each of them a doubled '%' at worst, three times over, and the fixed lines).
const int REMOVAL_BATCH_TEXT_LIMIT = 2048;

// Tries after the program has ended, about one second apart: the image of an ended program is
// released within moments, so two minutes leave room for a slow machine or a virus scanner.
// Test builds (PM_TEST_SEAMS) give up after seconds, not minutes.
#ifdef PM_TEST_SEAMS
const int REMOVAL_BATCH_PASSES = 3;
#else
const int REMOVAL_BATCH_PASSES = 120;
#endif

// strExePath is the running executable's full path. FALSE (and strText empty) when it holds no
// backslash or a byte that would break the quoting (NUL, double quote, CR, LF), when nPasses is
// not positive, or when the text would not fit REMOVAL_BATCH_TEXT_LIMIT.
BOOL BuildRemovalBatchText(const CString& strExePath, int nPasses, CString& strText);

// The command line's size limit, with its terminating NUL: the interpreter's path is a system
// folder's, below MAX_PATH.
const int REMOVAL_BATCH_COMMAND_LIMIT = 512;

// The command line that starts strInterpreter (cmd.exe's full path) on the batch once the input
// ends. FALSE (and strCommand empty) when the path is empty, holds a byte that would break the
// quoting, or the line would not fit REMOVAL_BATCH_COMMAND_LIMIT.
BOOL BuildRemovalBatchCommand(const CString& strInterpreter, CString& strCommand);
