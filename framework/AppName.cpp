#include "framework/AppName.h"

#include "framework/ModulePath.h"
#include "framework/NarrowString.h"
#include "framework/PathText.h"

namespace {

CString ModuleBaseName() {
    CString strPath;
    if (!AfxGetModulePath(strPath)) return CString();
    CString strName = PathLastComponent(strPath);
    int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

}  // namespace

LPCSTR AfxGetAppName() {
    static const CString s_strName = ModuleBaseName();  // initialised once, thread-safe
    return s_strName;
}
