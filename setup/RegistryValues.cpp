#include "setup/RegistryValues.h"

#include <string.h>

#include "framework/Handles.h"

namespace {

BOOL GetRegString(HKEY hRoot, const char* pszKey, const char* pszValueName, CString& strValue) {
    strValue.Empty();
    CRegKeyHandle hKey;
    if (::RegOpenKeyExA(hRoot, pszKey, 0, KEY_QUERY_VALUE, hKey.Receive()) != ERROR_SUCCESS) return FALSE;
    char szData[REG_TEXT_BUFFER_SIZE];
    DWORD cbData = sizeof szData;
    if (::RegQueryValueExA(hKey, pszValueName, NULL, NULL, reinterpret_cast<BYTE*>(szData), &cbData) !=
        ERROR_SUCCESS)
        return FALSE;
    // Data that fills the buffer need not end with a zero: the text never runs past cbData.
    if (cbData > sizeof szData) cbData = sizeof szData;
    const void* pZero = memchr(szData, '\0', cbData);
    const int nText =
        pZero != NULL ? static_cast<int>(static_cast<const char*>(pZero) - szData) : static_cast<int>(cbData);
    strValue = CString(szData, nText);
    return TRUE;
}

BOOL SetMachineRegValue(const char* pszKey, const char* pszValueName, DWORD dwType, const BYTE* pData,
                        DWORD cbData) {
    CRegKeyHandle hKey;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, NULL,
                          hKey.Receive(), NULL) != ERROR_SUCCESS)
        return FALSE;
    return ::RegSetValueExA(hKey, pszValueName, 0, dwType, pData, cbData) == ERROR_SUCCESS;
}

}  // namespace

BOOL GetMachineRegString(const char* pszKey, const char* pszValueName, CString& strValue) {
    return GetRegString(HKEY_LOCAL_MACHINE, pszKey, pszValueName, strValue);
}

BOOL GetUserRegString(const char* pszKey, const char* pszValueName, CString& strValue) {
    return GetRegString(HKEY_CURRENT_USER, pszKey, pszValueName, strValue);
}

BOOL SetMachineRegString(const char* pszKey, const char* pszValueName, const char* pszText) {
    const size_t nText = strlen(pszText);
    if (nText >= REG_TEXT_BUFFER_SIZE) return FALSE;  // refused rather than cut short
    return SetMachineRegValue(pszKey, pszValueName, REG_SZ, reinterpret_cast<const BYTE*>(pszText),
                              static_cast<DWORD>(nText + 1));
}

BOOL SetMachineRegDword(const char* pszKey, const char* pszValueName, DWORD dwValue) {
    return SetMachineRegValue(pszKey, pszValueName, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                              sizeof dwValue);
}
