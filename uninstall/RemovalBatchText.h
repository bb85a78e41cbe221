// The text of the self-removal batch "\DelUS.bat", the command that runs it and the variables it
// reads. The batch runs after Uninstall has ended: it deletes the executable, removes the
// executable's folder if that is empty, and deletes itself. Built here, free of the platform, so
// that every byte can be checked.
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
// The paths are not in the text: the batch and its command line name them through variables of
// the interpreter's environment, which the program hands over in UTF-16. The interpreter reads a
// batch file in the console's code page, which is the machine's own; its environment it keeps in
// UTF-16. So the text is ASCII and the paths reach the interpreter intact whatever the console's
// code page. The batch expands them late ("!name!", delayed expansion), where a '%' in a path is
// taken as it is: Wine's cmd expands a "%name%" value once more. A '!' is refused in a path, as
// Wine's cmd would take it for a name's end, and so is a '%' in the batch's own path, which the
// command line expands.
#pragma once

#include <string>
#include <vector>

#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"
#include "framework/StringArray.h"

// The batch's place: the root of the drive that is current for the process, made full.
const char REMOVAL_BATCH_PATH[] = "\\DelUS.bat";

// Tries after the program has ended, about one second apart: the image of an ended program is
// released within moments, so two minutes leave room for a slow machine or a virus scanner.
// Test builds (PM_TEST_SEAMS) give up after seconds, not minutes.
#ifdef PM_TEST_SEAMS
const int REMOVAL_BATCH_PASSES = 3;
#else
const int REMOVAL_BATCH_PASSES = 120;
#endif

// What the batch names, each by its full path, in GBK.
struct CRemovalBatchPaths {
    CString strExe;     // the running executable
    CString strRecord;  // the install record, deleted with it; empty when the batch leaves it alone
    CString strPause;   // the system folder's ping.exe
    CString strBatch;   // the batch file itself
};

// The text, and each variable it reads as "NAME=value" (GBK; the caller converts them to UTF-16).
// FALSE (and both empty) when a path (the record's aside, which may be empty) is not a full one
// ("X:\..." or "\\server\...") or holds a character that would break the quoting (NUL, double
// quote, CR, LF, '!'), when the batch's own path holds a '%', or when nPasses is not positive.
BOOL BuildRemovalBatch(const CRemovalBatchPaths& paths, int nPasses, CString& strText,
                       CStringArray& arrVariables);

// The command line that starts strInterpreter (cmd.exe's full path, GBK) on the batch that the
// variables name, once the input ends. FALSE (and strCommand empty) when the path is not a full
// one or holds a character that would break the quoting.
BOOL BuildRemovalBatchCommand(const CString& strInterpreter, CString& strCommand);

// An environment block (UTF-16 "NAME=value" texts, each NUL-ended, and a NUL at the end) with the
// given variables set: a variable of the same name (letter case aside) is replaced, and the texts
// come sorted by name as Windows keeps them. The block that comes back ends as a block does.
std::u16string WithVariables(const std::u16string& strBlock, const std::vector<std::u16string>& variables);
