#include "framework/WideText.h"

#include <string.h>
#include <wchar.h>

CWideText::CWideText(LPCSTR pszText) : m_text(1, L'\0'), m_bValid(TRUE) {
    Convert(pszText, pszText != NULL ? static_cast<int>(strlen(pszText)) : 0);
}

CWideText::CWideText(LPCSTR pchText, int nLength) : m_text(1, L'\0'), m_bValid(TRUE) {
    Convert(pchText, nLength);
}

void CWideText::Convert(LPCSTR pchText, int nLength) {
    if (pchText == NULL || nLength <= 0) return;
    const int nWide = ::MultiByteToWideChar(GBK_CODE_PAGE, MB_ERR_INVALID_CHARS, pchText, nLength, NULL, 0);
    if (nWide <= 0) {
        m_bValid = FALSE;
        return;
    }
    m_text.assign(static_cast<size_t>(nWide) + 1, L'\0');
    ::MultiByteToWideChar(GBK_CODE_PAGE, MB_ERR_INVALID_CHARS, pchText, nLength, &m_text[0], nWide);
}

BOOL AfxWideToGbk(LPCWSTR pwchText, int nLength, CString& strText) {
    strText.Empty();
    if (pwchText == NULL) return TRUE;
    if (nLength < 0) nLength = static_cast<int>(wcslen(pwchText));
    if (nLength == 0) return TRUE;
    BOOL bDefaulted = FALSE;
    const int nBytes = ::WideCharToMultiByte(GBK_CODE_PAGE, WC_NO_BEST_FIT_CHARS, pwchText, nLength, NULL, 0,
                                             NULL, &bDefaulted);
    if (nBytes <= 0 || bDefaulted) return FALSE;
    CString strOut;
    char* pBuffer = strOut.GetBufferSetLength(nBytes);
    ::WideCharToMultiByte(GBK_CODE_PAGE, WC_NO_BEST_FIT_CHARS, pwchText, nLength, pBuffer, nBytes, NULL,
                          &bDefaulted);
    if (bDefaulted) return FALSE;
    strText = strOut;
    return TRUE;
}

CString AfxWideToGbkShown(LPCWSTR pwchText, int nLength) {
    if (pwchText == NULL) return CString();
    if (nLength < 0) nLength = static_cast<int>(wcslen(pwchText));
    const int nBytes = ::WideCharToMultiByte(GBK_CODE_PAGE, 0, pwchText, nLength, NULL, 0, NULL, NULL);
    if (nBytes <= 0) return CString();
    CString strOut;
    ::WideCharToMultiByte(GBK_CODE_PAGE, 0, pwchText, nLength, strOut.GetBufferSetLength(nBytes), nBytes,
                          NULL, NULL);
    return strOut;
}
