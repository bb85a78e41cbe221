#include "framework/EarlyLoads.h"

// What loads each one by bare name: themes and the common controls (uxtheme, dwmapi, oleacc,
// msctf, imm32), the shell and OLE while a control registers (version, propsys, clbcatq, userenv,
// profapi), and advapi32's security and account calls (cryptbase, secur32, ntmarta, apphelp).
// A name that a system lacks (propsys and dwmapi on XP) is passed over. What these import is
// found beside them in System32, as they are loaded with their own folder first.
const char* const EARLY_LOADED_DLLS[] = {
    "uxtheme.dll", "version.dll", "userenv.dll", "propsys.dll", "dwmapi.dll",  "cryptbase.dll", "profapi.dll",
    "secur32.dll", "ntmarta.dll", "apphelp.dll", "oleacc.dll",  "clbcatq.dll", "msctf.dll",     "imm32.dll",
};
const int EARLY_LOADED_DLL_COUNT = static_cast<int>(sizeof EARLY_LOADED_DLLS / sizeof EARLY_LOADED_DLLS[0]);
