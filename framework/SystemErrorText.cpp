#include "framework/SystemErrorText.h"

#include "framework/Handles.h"

CString AfxGetSystemErrorText(DWORD dwError) {
    CLocalText text;
    ::FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, NULL,
        dwError, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(text.Receive()), 0, NULL);
    return CString(text.Get());
}
