// Where Setup installs.
#pragma once
#include "framework/NarrowString.h"

// The fixed install folder on the drive of a system root such as "D:\WINDOWS" (white space
// around it ignored), with its trailing backslash, the form every user of the target folder takes;
// drive C when the root is too short to name a drive.
CString InstallFolderForSystemRoot(CString strSystemRoot);
