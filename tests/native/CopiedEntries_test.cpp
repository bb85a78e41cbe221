// What the folder copy and the install dialog's count take from a folder search, by the attributes
// that FindFirstFileW reports for each kind of entry.
#include "record/CopiedEntries.h"

#include <gtest/gtest.h>

TEST(CopiedEntries, LinksAndNamesWithoutGbkFormArePassedOver) {
    const struct {
        const char* what;
        unsigned long attributes;
        BOOL dots;
        BOOL gbk;
        COPIED_ENTRY expected;
    } rows[] = {
        {"a plain file", 0x80, FALSE, TRUE, COPIED_ENTRY_FILE},
        {"a read-only, hidden, system file", 0x27, FALSE, TRUE, COPIED_ENTRY_FILE},
        {"a folder", 0x10, FALSE, TRUE, COPIED_ENTRY_FOLDER},
        {"a hidden system folder", 0x16, FALSE, TRUE, COPIED_ENTRY_FOLDER},
        {"a junction or folder link", 0x410, FALSE, TRUE, COPIED_ENTRY_LINK},
        {"a file's symbolic link", 0x420, FALSE, TRUE, COPIED_ENTRY_LINK},
        {"a junction whose name GBK cannot hold", 0x410, FALSE, FALSE, COPIED_ENTRY_LINK},
        {"a folder whose name GBK cannot hold", 0x10, FALSE, FALSE, COPIED_ENTRY_NO_GBK_NAME},
        {"a file whose name GBK cannot hold", 0x20, FALSE, FALSE, COPIED_ENTRY_NO_GBK_NAME},
        {"\".\" or \"..\"", 0x10, TRUE, TRUE, COPIED_ENTRY_NONE},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CopiedEntryOf(row.attributes, row.dots, row.gbk), row.expected)
            << row.what << " (attributes 0x" << std::hex << row.attributes << ")";
}
