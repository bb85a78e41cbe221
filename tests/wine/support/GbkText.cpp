#include "GbkText.h"

namespace {
const UINT kGbk = 936;
}  // namespace

std::wstring Wide(const std::string& gbk) {
    if (gbk.empty()) return std::wstring();
    const int size = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), NULL, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), &wide[0], size);
    return wide;
}

std::string Gbk(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int size =
        WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), NULL, 0, NULL, NULL);
    std::string gbk(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(kGbk, 0, wide.data(), static_cast<int>(wide.size()), &gbk[0], size, NULL, NULL);
    return gbk;
}

std::string Gbk(const wchar_t* wide) {
    return Gbk(std::wstring(wide != NULL ? wide : L""));
}
