#include "framework/SystemErrorText.h"

#include "framework/WideText.h"

CString AfxGetSystemErrorText(DWORD dwError) {
    wchar_t* pwszText = NULL;
    ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL,
        dwError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&pwszText), 0, NULL);
    if (pwszText == NULL) return CString();
    // The system speaks the user's language, which GBK may not hold whole: the text is shown, so a
    // character it lacks may become '?', as it never may in a path.
    CString strText;
    if (!AfxWideToGbk(pwszText, -1, strText)) strText = AfxWideToGbkShown(pwszText, -1);
    ::LocalFree(pwszText);
    return strText;
}
