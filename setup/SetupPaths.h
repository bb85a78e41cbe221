// Path helpers of the install worker that step over double-byte characters: in GBK a trail
// byte can be 0x5C, the byte of '\', and must never be taken for a separator.
#pragma once
#include "framework/NarrowString.h"

// TRUE when the last character (not merely the last byte) is '\' or '/'.
BOOL EndsWithSeparator(const CString& strPath);

// The path with a backslash appended unless its last character is a separator.
CString WithTrailingBackslash(const CString& strPath);
