// The product key and the Windows uninstall entry that the install writes under
// HKEY_LOCAL_MACHINE. The uninstaller finds the target folder through PRODUCT_KEY's
// PRODUCT_INSTALL_PATH value.
#pragma once

extern const char PRODUCT_KEY[];
extern const char PRODUCT_INSTALL_PATH[];
extern const char UNINSTALL_ENTRY_KEY[];
