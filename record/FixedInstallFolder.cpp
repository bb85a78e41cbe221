#include "framework/RegistryText.h"
#include "record/InstallFolder.h"

namespace {
const char WINDOWS_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char WINDOWS_NT_KEY[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char SYSTEM_ROOT_VALUE[] = "SystemRoot";
const DWORD SYSTEM_ROOT_BYTES = 2048;
}  // namespace

CString AfxGetFixedInstallFolder() {
    CString strSystemRoot;
    if (!AfxReadRegText(HKEY_LOCAL_MACHINE, WINDOWS_KEY, SYSTEM_ROOT_VALUE, SYSTEM_ROOT_BYTES, strSystemRoot))
        AfxReadRegText(HKEY_LOCAL_MACHINE, WINDOWS_NT_KEY, SYSTEM_ROOT_VALUE, SYSTEM_ROOT_BYTES,
                       strSystemRoot);
    return InstallFolderForSystemRoot(strSystemRoot);
}
