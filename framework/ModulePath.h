// The running program's full path, as the narrow file functions take it.
#pragma once
#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

// As GBK, or in its short form where a folder's name has no GBK form. FALSE when the path cannot be
// had whole: it takes MAX_PATH characters or more, or MAX_PATH bytes or more in GBK, or has no GBK
// form at all (a path the programs cannot name), or names no file.
BOOL AfxGetModulePath(CString& strPath);
