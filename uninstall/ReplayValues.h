// Which record values the uninstaller hands to the platform. The record file is plain text that
// anyone can edit, so a value is used only when it names exactly one thing on its own:
// - a path must be full (a drive letter, a colon and a separator, or a "\\" UNC start), so it
//   never resolves against the current folder or, for a control, the module search path;
// - a path must be shorter than MAX_PATH (260) bytes: the narrow file functions cannot take a
//   longer one, and cutting it would name another file;
// - a registry key path must not be empty, since an empty sub-key names the hive's own key.
#pragma once

#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

const int REPLAY_PATH_LIMIT = 260;  // MAX_PATH, with its terminating NUL

BOOL IsReplayablePath(const CString& strPath);
BOOL IsReplayableKeyPath(const CString& strKeyPath);
