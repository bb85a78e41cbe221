#include "uninstall/ReplayValues.h"

namespace {

BOOL IsSeparator(char ch) {
    return ch == '\\' || ch == '/';
}

BOOL IsAsciiLetter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

}  // namespace

BOOL IsReplayablePath(const CString& strPath) {
    int nLength = strPath.GetLength();
    if (nLength < 3 || nLength >= REPLAY_PATH_LIMIT) return FALSE;
    // Only the first three bytes are looked at: none of these characters is a GBK trail byte,
    // and a lead byte can never stand at the start.
    if (IsAsciiLetter(strPath[0]) && strPath[1] == ':' && IsSeparator(strPath[2])) return TRUE;
    return strPath[0] == '\\' && strPath[1] == '\\';
}

BOOL IsReplayableKeyPath(const CString& strKeyPath) {
    return !strKeyPath.IsEmpty();
}
