#include "uninstall/ReplayValues.h"

#include "framework/PathText.h"

BOOL IsReplayablePath(const CString& strPath) {
    return strPath.GetLength() < REPLAY_PATH_LIMIT && PathIsFull(strPath);
}

BOOL IsReplayableKeyPath(const CString& strKeyPath) {
    return !strKeyPath.IsEmpty();
}
