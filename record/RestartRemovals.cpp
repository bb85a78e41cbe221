#include "record/RestartRemovals.h"

#include <vector>

namespace {

char16_t FoldAscii(char16_t ch) {
    return (ch >= u'a' && ch <= u'z') ? static_cast<char16_t>(ch - u'a' + u'A') : ch;
}

// The path a source or target names, without a target's "!" and the object manager's "\??\" prefix.
std::u16string PathOf(std::u16string strText) {
    if (!strText.empty() && strText[0] == u'!') strText.erase(0, 1);
    const std::u16string strPrefix = u"\\??\\";
    return strText.compare(0, strPrefix.size(), strPrefix) == 0 ? strText.substr(strPrefix.size()) : strText;
}

// strPath is strFolder itself or lies below it.
bool IsUnder(const std::u16string& strPath, std::u16string strFolder) {
    if (!strFolder.empty() && strFolder.back() == u'\\') strFolder.pop_back();
    if (strFolder.empty() || strPath.size() < strFolder.size()) return false;
    for (size_t i = 0; i < strFolder.size(); ++i) {
        if (FoldAscii(strPath[i]) != FoldAscii(strFolder[i])) return false;
    }
    return strPath.size() == strFolder.size() || strPath[strFolder.size()] == u'\\';
}

// Splits at NULs. FALSE when the texts do not come in pairs: a source without its target, or a
// text not ended by a NUL. The NULs that end the list are not texts.
bool SplitPairs(const std::u16string& strList, std::vector<std::u16string>& texts) {
    size_t nEnd = strList.size();
    while (nEnd >= 2 && strList[nEnd - 1] == u'\0' && strList[nEnd - 2] == u'\0') --nEnd;  // trailing NULs
    if (nEnd > 0 && strList[nEnd - 1] != u'\0') return false;
    size_t nStart = 0;
    while (nStart < nEnd) {
        size_t nNul = strList.find(u'\0', nStart);
        texts.push_back(strList.substr(nStart, nNul - nStart));
        nStart = nNul + 1;
    }
    // An odd count may still be whole: the last pair's empty target taken for the list's end.
    if (texts.size() % 2 == 1 && nEnd < strList.size()) texts.push_back(std::u16string());
    return texts.size() % 2 == 0;
}

// The pair at texts[i] deletes a file of strFolder or puts one there.
bool TouchesFolder(const std::vector<std::u16string>& texts, size_t i, const std::u16string& strFolder) {
    const bool bDeletion = texts[i + 1].empty();
    return bDeletion ? IsUnder(PathOf(texts[i]), strFolder) : IsUnder(PathOf(texts[i + 1]), strFolder);
}

}  // namespace

std::u16string WithoutRemovalsUnder(const std::u16string& strList, const std::u16string& strFolder) {
    std::vector<std::u16string> texts;
    if (!SplitPairs(strList, texts)) return strList;
    std::u16string strKept;
    for (size_t i = 0; i < texts.size(); i += 2) {
        if (TouchesFolder(texts, i, strFolder)) continue;
        strKept += texts[i];
        strKept += u'\0';
        strKept += texts[i + 1];
        strKept += u'\0';
    }
    if (!strKept.empty()) strKept += u'\0';
    return strKept;
}

std::vector<std::u16string> RenameSourcesInto(const std::u16string& strList,
                                              const std::u16string& strFolder) {
    std::vector<std::u16string> texts;
    std::vector<std::u16string> sources;
    if (!SplitPairs(strList, texts)) return sources;
    for (size_t i = 0; i < texts.size(); i += 2) {
        if (texts[i + 1].empty() || !TouchesFolder(texts, i, strFolder)) continue;
        const std::u16string strSource = PathOf(texts[i]);
        if (IsUnder(strSource, strFolder)) sources.push_back(strSource);
    }
    return sources;
}
