#include "setup/RegistryValues.h"

#include <string.h>

#include "framework/FailureTrace.h"
#include "framework/Handles.h"
#include "framework/RegistryText.h"

namespace {

// "HKEY_LOCAL_MACHINE\key\value", as the trace names what it could not write.
CString MachineValueName(const char* pszKey, const char* pszValueName) {
    return CString("HKEY_LOCAL_MACHINE\\") + pszKey + "\\" + pszValueName;
}

BOOL SetMachineRegValue(const char* pszKey, const char* pszValueName, DWORD dwType, const BYTE* pData,
                        DWORD cbData) {
    CRegKeyHandle hKey;
    LONG lResult = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, NULL, hKey.Receive(), NULL);
    if (lResult == ERROR_SUCCESS) lResult = ::RegSetValueExA(hKey, pszValueName, 0, dwType, pData, cbData);
    if (lResult == ERROR_SUCCESS) return TRUE;
    AfxTraceFailure("RegSetValueExA", MachineValueName(pszKey, pszValueName), static_cast<DWORD>(lResult));
    return FALSE;
}

}  // namespace

BOOL GetMachineRegString(const char* pszKey, const char* pszValueName, CString& strValue) {
    return AfxReadRegText(HKEY_LOCAL_MACHINE, pszKey, pszValueName, REG_TEXT_BUFFER_SIZE, strValue);
}

BOOL GetUserRegString(const char* pszKey, const char* pszValueName, CString& strValue) {
    return AfxReadRegText(HKEY_CURRENT_USER, pszKey, pszValueName, REG_TEXT_BUFFER_SIZE, strValue);
}

BOOL SetMachineRegString(const char* pszKey, const char* pszValueName, const char* pszText) {
    const size_t nText = strlen(pszText);
    if (nText >= REG_TEXT_BUFFER_SIZE) {  // refused rather than cut short
        AfxTraceFailure("RegSetValueExA", MachineValueName(pszKey, pszValueName), ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    return SetMachineRegValue(pszKey, pszValueName, REG_SZ, reinterpret_cast<const BYTE*>(pszText),
                              static_cast<DWORD>(nText + 1));
}

BOOL SetMachineRegDword(const char* pszKey, const char* pszValueName, DWORD dwValue) {
    return SetMachineRegValue(pszKey, pszValueName, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                              sizeof dwValue);
}
