// What Setup leaves for Uninstall to find, and both programs name alike: the product key under
// HKEY_LOCAL_MACHINE with its "installPath" value (the target folder, ending with a backslash),
// the Windows uninstall entry, and the install record's file name in the target folder.
#pragma once

const char PRODUCT_KEY[] = "SOFTWARE\\Kelvora\\Pindlemark\\V5";
const char PRODUCT_INSTALL_PATH[] = "installPath";
const char UNINSTALL_ENTRY_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pindlemark V5";
const char RECORD_FILE_NAME[] = "Uninstall.log";
