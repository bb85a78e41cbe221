// Where Setup puts the new copy of a file in use until the next restart moves it in place: beside
// the target, in the same folder (a rename at the restart cannot cross volumes), under a name
// derived from the target's alone, so that a second install before the restart finds the same
// file again. Free of the platform. The record names it, so that an uninstall before the restart
// leaves nothing.
#pragma once
#include "framework/NarrowString.h"

// The target's path with ".pmnew" appended; when that is longer than the narrow file functions
// take (259 bytes), "~pm" + 8 hex digits of a hash of the target's name + ".new" in its folder;
// empty when that does not fit either, or when strTarget names no folder. Walked by GBK
// characters, so a trail byte 0x5C never ends the folder.
CString RestartTempPath(const CString& strTarget);
