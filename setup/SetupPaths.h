// Path helpers of the install worker that step over double-byte characters: in GBK a trail
// byte can be 0x5C, the byte of '\', and must never be taken for a separator.
#pragma once
#include "framework/NarrowString.h"

// TRUE when the last character (not merely the last byte) is '\' or '/'.
BOOL EndsWithSeparator(const CString& strPath);

// The path with a backslash appended unless its last character is a separator.
CString WithTrailingBackslash(const CString& strPath);

// The folder of a program file: the text before its last backslash, or the whole text when it
// holds none.
CString FolderOfModule(const CString& strModulePath);

// The fixed install folder on the drive of a system root such as "D:\WINDOWS" (white space
// around it ignored), without a trailing backslash; drive C when the root is too short to name
// a drive.
CString InstallFolderForSystemRoot(CString strSystemRoot);
