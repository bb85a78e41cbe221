// The running program's full path, as the narrow file functions take it.
#pragma once
#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

// FALSE when the system cannot give the path whole: GetModuleFileNameA cuts a path of MAX_PATH
// bytes or more to its buffer, and the cut path names another file or folder. Windows reports the
// cut by filling the buffer; Wine cuts at a character boundary and reports nothing, so a path
// that names no file is taken as cut too.
BOOL AfxGetModulePath(CString& strPath);
