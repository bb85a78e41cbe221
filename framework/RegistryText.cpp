#include "framework/RegistryText.h"

#include <string.h>

#include <vector>

#include "framework/Handles.h"
#include "framework/WideText.h"

namespace {

BOOL IsTextType(DWORD dwType) {
    return dwType == REG_SZ || dwType == REG_EXPAND_SZ || dwType == REG_MULTI_SZ;
}

}  // namespace

BOOL AfxReadRegText(HKEY hRoot, LPCSTR pszKey, LPCSTR pszValueName, DWORD nMaxBytes, CString& strValue) {
    strValue.Empty();
    const CWideText key(pszKey);
    const CWideText valueName(pszValueName);
    CRegKeyHandle hKey;
    if (nMaxBytes == 0 || !key.IsValid() || !valueName.IsValid() ||
        ::RegOpenKeyExW(hRoot, key, 0, KEY_READ, hKey.Receive()) != ERROR_SUCCESS)
        return FALSE;
    // A text is stored as UTF-16: room for nMaxBytes characters, each of which takes at least one
    // byte in GBK; the bound is then held in GBK bytes, its NUL included, as the data's bytes of
    // any other type are held.
    std::vector<BYTE> data((nMaxBytes + 1) * sizeof(WCHAR));
    DWORD dwType = REG_NONE;
    DWORD cbData = static_cast<DWORD>(data.size());
    if (::RegQueryValueExW(hKey, valueName, NULL, &dwType, data.data(), &cbData) != ERROR_SUCCESS)
        return FALSE;
    if (cbData > data.size()) return FALSE;
    if (IsTextType(dwType)) {
        const LPCWSTR pwchText = reinterpret_cast<LPCWSTR>(data.data());
        const int nChars = static_cast<int>(cbData / sizeof(WCHAR));
        int nText = 0;
        while (nText < nChars && pwchText[nText] != L'\0') ++nText;
        CString strText;
        if (!AfxWideToGbk(pwchText, nText, strText) || static_cast<DWORD>(strText.GetLength()) >= nMaxBytes)
            return FALSE;
        strValue = strText;
        return TRUE;
    }
    if (cbData > nMaxBytes) return FALSE;
    const char* pchData = reinterpret_cast<const char*>(data.data());
    const void* pZero = memchr(pchData, '\0', cbData);
    const int nText = pZero != NULL ? static_cast<int>(static_cast<const char*>(pZero) - pchData)
                                    : static_cast<int>(cbData);
    strValue = CString(pchData, nText);
    return TRUE;
}
