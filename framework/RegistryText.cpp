#include "framework/RegistryText.h"

#include <string.h>

#include <vector>

#include "framework/Handles.h"

BOOL AfxReadRegText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValueName, DWORD nMaxBytes, CString& strValue) {
    strValue.Empty();
    CRegKeyHandle hKey;
    if (nMaxBytes == 0 || ::RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, hKey.Receive()) != ERROR_SUCCESS)
        return FALSE;
    std::vector<char> data(nMaxBytes);
    DWORD cbData = nMaxBytes;
    if (::RegQueryValueExA(hKey, pszValueName, NULL, NULL, reinterpret_cast<BYTE*>(data.data()), &cbData) !=
        ERROR_SUCCESS)
        return FALSE;
    if (cbData > nMaxBytes) cbData = nMaxBytes;
    const void* pZero = memchr(data.data(), '\0', cbData);
    const int nText = pZero != NULL ? static_cast<int>(static_cast<const char*>(pZero) - data.data())
                                    : static_cast<int>(cbData);
    strValue = CString(data.data(), nText);
    return TRUE;
}
