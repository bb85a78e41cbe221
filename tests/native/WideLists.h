// Lists of UTF-16 texts as the system stores them (an environment block, a REG_MULTI_SZ): each text
// NUL-ended and one more NUL at the end; and such a list shown readably in a failure message.
#pragma once
#include <string>
#include <vector>

inline std::u16string WideList(const std::vector<std::u16string>& texts) {
    std::u16string list;
    for (const std::u16string& text : texts) list += text + u'\0';
    return list + u'\0';
}

// ASCII as it is, '|' for each NUL, '?' for anything else.
inline std::string ShownList(const std::u16string& list) {
    std::string shown;
    for (char16_t ch : list) shown += ch == u'\0' ? '|' : ch < 0x80 ? static_cast<char>(ch) : '?';
    return shown;
}
