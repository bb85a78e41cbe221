// Where Setup installs, and, besides the folder the product key names, the one folder where
// Uninstall looks for a record to replay.
#pragma once
#include "framework/NarrowString.h"

// The fixed install folder on the drive of a system root such as "D:\WINDOWS" (white space
// around it ignored), with its trailing backslash, the form every user of the target folder takes;
// drive C when the root is too short to name a drive.
CString InstallFolderForSystemRoot(CString strSystemRoot);

// The fixed install folder of this system, on the drive of the system root that the registry
// holds under HKEY_LOCAL_MACHINE (Windows' key, else Windows NT's). In the Win32 library `record`.
CString AfxGetFixedInstallFolder();
