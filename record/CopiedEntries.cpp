#include "record/CopiedEntries.h"

namespace {
// As <windows.h> defines them.
const unsigned long ATTRIBUTE_DIRECTORY = 0x00000010;
const unsigned long ATTRIBUTE_REPARSE_POINT = 0x00000400;
}  // namespace

COPIED_ENTRY CopiedEntryOf(unsigned long dwAttributes, BOOL bDots, BOOL bGbkName) {
    if (bDots) return COPIED_ENTRY_NONE;
    if ((dwAttributes & ATTRIBUTE_REPARSE_POINT) != 0) return COPIED_ENTRY_LINK;
    if (!bGbkName) return COPIED_ENTRY_NO_GBK_NAME;
    return (dwAttributes & ATTRIBUTE_DIRECTORY) != 0 ? COPIED_ENTRY_FOLDER : COPIED_ENTRY_FILE;
}
