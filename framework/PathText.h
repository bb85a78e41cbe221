// Paths as narrow texts in the ANSI code page (GBK), walked character by character: a GBK trail
// byte can be 0x5C, the byte of '\', and is never taken for a separator. Free of the platform.
#pragma once
#include "framework/BaseTypes.h"
#include "framework/NarrowString.h"

// '\' or '/', as the system's file functions take either. Only a whole character can be one: the
// caller steps over double-byte characters, whose trail byte may be 0x5C.
BOOL IsPathSeparator(char ch);

// TRUE for a full path: a drive letter, ':' and a separator ("C:\..."), or a network path
// ("\\server\..."). A bare or relative name would be looked for in some current folder. Only the
// first three bytes are looked at: none of these characters is a GBK trail byte, and a lead byte
// can never stand at the start.
BOOL PathIsFull(const CString& strPath);

// TRUE when the last character (not merely the last byte) is '\' or '/'.
BOOL PathEndsWithSeparator(const CString& strPath);

// The path with a backslash appended unless its last character is a separator.
CString PathWithTrailingBackslash(const CString& strPath);

// folder + '\' + name. A folder of at most 2 bytes (such as "C:") is dropped; no backslash is
// added when the folder's last character already is '\' or '/'.
CString JoinPath(const CString& strFolder, const CString& strName);

// The text before the last backslash; empty when there is none. A folder that would be a bare
// drive ("C:") keeps its backslash, as "C:" alone means that drive's current folder.
CString PathParent(const CString& strPath);

// The text after the last backslash; the whole path when there is none.
CString PathLastComponent(const CString& strPath);
