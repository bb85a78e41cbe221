#include "record/RestartTempName.h"

#include "framework/PathText.h"

namespace {

const int LONGEST_PATH = 259;  // MAX_PATH without its NUL
const char TEMP_SUFFIX[] = ".pmnew";

// FNV-1a over the name's bytes: fixed across runs and builds, unlike the library's hashes.
unsigned int NameHash(const CString& strName) {
    unsigned int nHash = 2166136261u;
    for (int i = 0; i < strName.GetLength(); ++i) {
        nHash ^= static_cast<unsigned char>(strName[i]);
        nHash *= 16777619u;
    }
    return nHash;
}

}  // namespace

CString RestartTempPath(const CString& strTarget) {
    const int nSlash = strTarget.ReverseFind('\\');  // steps over double-byte characters
    if (nSlash < 0) return CString();
    CString strTemp = strTarget + TEMP_SUFFIX;
    if (strTemp.GetLength() <= LONGEST_PATH) return strTemp;
    strTemp.Format("%s~pm%08x.new", static_cast<const char*>(strTarget.Left(nSlash + 1)),
                   NameHash(strTarget.Mid(nSlash + 1)));
    return strTemp.GetLength() <= LONGEST_PATH ? strTemp : CString();
}
