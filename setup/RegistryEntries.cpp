// CSetupThread::WriteRegistry: the product key, the CAD releases, the uninstall entry.
#include "framework/PathText.h"
#include "record/ProductKeys.h"
#include "record/RecordFormat.h"
#include "setup/RegistryValues.h"
#include "setup/SetupThread.h"

namespace {

const char PRODUCT_VERSION[] = "Ver";
const char PRODUCT_VERSION_TEXT[] = "5.00";
const char UNINSTALL_DISPLAY_NAME[] = "DisplayName";
const char UNINSTALL_DISPLAY_NAME_TEXT[] = "Vennloft管理 V5";
const char UNINSTALL_STRING[] = "UninstallString";
const char UNINSTALLER_FILE_NAME[] = "Uninstall.exe";

}  // namespace

void CSetupThread::WriteRegistry() {
    // Every step runs and both keys are recorded, whatever the writes returned.
    SetMachineRegString(PRODUCT_KEY, PRODUCT_INSTALL_PATH, m_strTargetDir);
    SetMachineRegString(PRODUCT_KEY, PRODUCT_VERSION, PRODUCT_VERSION_TEXT);
    AddRegKeyRecord(HKEY_LOCAL_MACHINE, PRODUCT_KEY);

    RegisterAcadReleases();

    // In double quotes: unquoted, a path with blanks would let Windows start the first word of
    // it (C:\Program.exe) in the uninstaller's place.
    const CString strCommand = '"' + JoinPath(m_strTargetDir, UNINSTALLER_FILE_NAME) + '"';
    SetMachineRegString(UNINSTALL_ENTRY_KEY, UNINSTALL_DISPLAY_NAME, UNINSTALL_DISPLAY_NAME_TEXT);
    SetMachineRegString(UNINSTALL_ENTRY_KEY, UNINSTALL_STRING, strCommand);
    AddRegKeyRecord(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY);
}
