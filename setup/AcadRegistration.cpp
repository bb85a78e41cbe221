// CSetupThread's registration of the add-on with each installed CAD release, R15.0 to R17.2.
// Nothing written here goes into the install record: the uninstall leaves it in place.
#include "setup/RegistryValues.h"
#include "setup/SetupThread.h"

// One row of the release table.
struct AcadRelease {
    const char* pszReleaseKey;    // holds "CurVer", the release's current product sub-key
    const char* pszAppKeyFormat;  // the application key; %s is the product sub-key
    const char* pszModule;        // the release family's module, relative to the target folder
    BOOL bLoaderKeys;             // R15.0 finds its module through "REGPATH" and loader keys
};

namespace {

const AcadRelease RELEASES[] = {
    {"SOFTWARE\\Autodesk\\AutoCAD\\R15.0", "Software\\Autodesk\\AutoCAD\\R15.0\\%s\\Applications\\Quorrel",
     "Support\\2000-02\\Quorrel.arx", TRUE},
    {"SOFTWARE\\Autodesk\\AutoCAD\\R16.0", "Software\\Autodesk\\AutoCAD\\R16.0\\%s\\Applications\\Quorrel",
     "Support\\2004-06\\Quorrel.arx", FALSE},
    {"SOFTWARE\\Autodesk\\AutoCAD\\R16.1", "Software\\Autodesk\\AutoCAD\\R16.1\\%s\\Applications\\Quorrel",
     "Support\\2004-06\\Quorrel.arx", FALSE},
    {"SOFTWARE\\Autodesk\\AutoCAD\\R16.2", "Software\\Autodesk\\AutoCAD\\R16.2\\%s\\Applications\\Quorrel",
     "Support\\2004-06\\Quorrel.arx", FALSE},
    {"SOFTWARE\\Autodesk\\AutoCAD\\R17.0", "Software\\Autodesk\\AutoCAD\\R17.0\\%s\\Applications\\Quorrel",
     "Support\\2007-09\\Quorrel.arx", FALSE},
    {"SOFTWARE\\Autodesk\\AutoCAD\\R17.1", "Software\\Autodesk\\AutoCAD\\R17.1\\%s\\Applications\\Quorrel",
     "Support\\2007-09\\Quorrel.arx", FALSE},
    {"SOFTWARE\\Autodesk\\AutoCAD\\R17.2", "Software\\Autodesk\\AutoCAD\\R17.2\\%s\\Applications\\Quorrel",
     "Support\\2007-09\\Quorrel.arx", FALSE},
};

const char CURRENT_PRODUCT[] = "CurVer";
const char LOAD_CONTROLS[] = "LOADCTRLS";
const DWORD LOAD_CONTROLS_FLAGS = 2;
const char LOADER[] = "LOADER";

// The loader keys of R15.0; %s is the product sub-key.
const char REG_PATH[] = "REGPATH";
const char REG_PATH_FORMAT[] =
    "\\\\HKEY_LOCAL_MACHINE\\Software\\Autodesk\\AutoCAD\\R15.0\\%s\\AutodeskApps\\Quorrel";
const char LOADER_KEY_FORMAT[] = "Software\\Autodesk\\AutoCAD\\R15.0\\%s\\AutodeskApps\\Quorrel\\Loader";
const char LOADER_MODULE[] = "MODULE";
const char NAME_KEY_FORMAT[] = "Software\\Autodesk\\AutoCAD\\R15.0\\%s\\AutodeskApps\\Quorrel\\Name";
const char APP_NAME[] = "Quorrel";

CString FormatKey(const char* pszFormat, const CString& strProduct) {
    CString strKey;
    strKey.Format(pszFormat, static_cast<const char*>(strProduct));
    return strKey;
}

}  // namespace

void CSetupThread::RegisterAcadReleases() {
    // Each release is tried, however the one before went.
    for (size_t i = 0; i < sizeof RELEASES / sizeof RELEASES[0]; ++i) RegisterAcadRelease(RELEASES[i]);
}

void CSetupThread::RegisterAcadRelease(const AcadRelease& release) {
    // Read under HKEY_LOCAL_MACHINE, then HKEY_CURRENT_USER; written under HKEY_LOCAL_MACHINE.
    CString strProduct;
    if (!GetMachineRegString(release.pszReleaseKey, CURRENT_PRODUCT, strProduct) &&
        !GetUserRegString(release.pszReleaseKey, CURRENT_PRODUCT, strProduct))
        return;  // the release is not installed

    // The first write that fails ends this release; what was written before it stays.
    const CString strAppKey = FormatKey(release.pszAppKeyFormat, strProduct);
    if (!SetMachineRegDword(strAppKey, LOAD_CONTROLS, LOAD_CONTROLS_FLAGS)) return;
    const CString strModule = m_strTargetDir + release.pszModule;
    if (!release.bLoaderKeys) {
        SetMachineRegString(strAppKey, LOADER, strModule);
        return;
    }
    if (!SetMachineRegString(strAppKey, REG_PATH, FormatKey(REG_PATH_FORMAT, strProduct))) return;
    if (!SetMachineRegString(FormatKey(LOADER_KEY_FORMAT, strProduct), LOADER_MODULE, strModule)) return;
    SetMachineRegString(FormatKey(NAME_KEY_FORMAT, strProduct), APP_NAME, APP_NAME);
}
