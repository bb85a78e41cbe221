// CSetupThread's control registration: every *.ocx directly in the target's "Controls" folder is
// loaded and its DllRegisterServer called; one that the next restart replaces is registered again
// after it.
#include <ole2.h>

#include "framework/ControlEntry.h"
#include "setup/SetupThread.h"

namespace {

const char CONTROLS_FOLDER[] = "Controls\\";
const char CONTROL_MASK[] = "*.ocx";
const char REGISTER_ENTRY[] = "DllRegisterServer";

// The controls' registration code runs on this thread in the apartment it would find under the
// system's own registration tool, which initialises OLE first.
class COleScope {
public:
    COleScope() : m_bInitialised(SUCCEEDED(::OleInitialize(NULL))) {}
    ~COleScope() {
        if (m_bInitialised) ::OleUninitialize();
    }
    COleScope(const COleScope&) = delete;
    COleScope& operator=(const COleScope&) = delete;

private:
    BOOL m_bInitialised;
};

}  // namespace

void CSetupThread::RegisterControls() {
    const CString strFolder = m_strTargetDir + CONTROLS_FOLDER;
    CStringArray arrNames;
    ListFiles(strFolder, CONTROL_MASK, arrNames);
    if (arrNames.IsEmpty()) return;

    COleScope ole;
    for (int i = 0; i < arrNames.GetSize(); ++i) {
        const CString strPath = strFolder + arrNames[i];
        RegisterControl(strPath);
        if (IsReplacedAtRestart(strPath)) RegisterAtRestart(strPath);
        AddControlRecord(strPath);  // recorded whether the registration succeeded or not
    }
}

BOOL CSetupThread::RegisterControl(const CString& strPath) {
    return AfxCallControlEntry(strPath, REGISTER_ENTRY);
}
