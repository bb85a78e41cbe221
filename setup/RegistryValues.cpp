#include "setup/RegistryValues.h"

#include <string.h>

#include "framework/FailureTrace.h"
#include "framework/Handles.h"
#include "framework/RegistryText.h"
#include "framework/WideText.h"

namespace {

// "HKEY_LOCAL_MACHINE\key\value", as the trace names what it could not write.
CString MachineValueName(const char* pszKey, const char* pszValueName) {
    return CString("HKEY_LOCAL_MACHINE\\") + pszKey + "\\" + pszValueName;
}

BOOL SetMachineRegValue(const char* pszKey, const char* pszValueName, DWORD dwType, const BYTE* pData,
                        DWORD cbData) {
    const CWideText key(pszKey);
    const CWideText valueName(pszValueName);
    LONG lResult = ERROR_NO_UNICODE_TRANSLATION;
    CRegKeyHandle hKey;
    if (key.IsValid() && valueName.IsValid())
        lResult = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                    NULL, hKey.Receive(), NULL);
    if (lResult == ERROR_SUCCESS) lResult = ::RegSetValueExW(hKey, valueName, 0, dwType, pData, cbData);
    if (lResult == ERROR_SUCCESS) return TRUE;
    AfxTraceFailure("RegSetValueExW", MachineValueName(pszKey, pszValueName), static_cast<DWORD>(lResult));
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
        AfxTraceFailure("RegSetValueExW", MachineValueName(pszKey, pszValueName), ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    // Stored as the system keeps texts, UTF-16 with its NUL, so that any Windows reads it alike.
    const CWideText text(pszText);
    if (!text.IsValid()) {
        AfxTraceFailure("RegSetValueExW", MachineValueName(pszKey, pszValueName),
                        ERROR_NO_UNICODE_TRANSLATION);
        return FALSE;
    }
    return SetMachineRegValue(pszKey, pszValueName, REG_SZ,
                              reinterpret_cast<const BYTE*>(static_cast<LPCWSTR>(text)),
                              static_cast<DWORD>((text.GetLength() + 1) * sizeof(WCHAR)));
}

BOOL SetMachineRegDword(const char* pszKey, const char* pszValueName, DWORD dwValue) {
    return SetMachineRegValue(pszKey, pszValueName, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                              sizeof dwValue);
}
