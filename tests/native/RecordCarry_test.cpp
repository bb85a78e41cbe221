// What an upgrade carries from the record it replaces into the new one, and where.
#include "record/RecordCarry.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const char kDir[] = "C:\\Program Files\\Kelvora\\Pindlemark\\";

std::string In(const std::string& name) {
    return kDir + name;
}

// Every path exists but those named in the set.
BOOL ExistsUnlessGone(const CString& strPath, void* pContext) {
    const std::set<std::string>& gone = *static_cast<const std::set<std::string>*>(pContext);
    return gone.count(static_cast<const char*>(strPath)) == 0;
}

struct Row {
    const char* what;
    std::string earlier;
    std::string fresh;
    std::string expected;  // the new record afterwards
};

}  // namespace

TEST(RecordCarry, WhatOnlyTheEarlierRecordNamesIsCarriedWhereTheUninstallReplaysIt) {
    const std::string freshBase =
        "Made Dir: " + In("Support") + "\nFile Copy: " + In("Support\\a.txt") + "\n";
    const Row rows[] = {
        {"a file the new release lacks goes to the end", "File Copy: " + In("old.txt") + "\n", freshBase,
         freshBase + "File Copy: " + In("old.txt") + "\n"},
        {"a file the new record names, in other letter case, is not named twice",
         "File Copy: " + In("SUPPORT\\A.TXT") + "\n", freshBase, freshBase},
        {"a file that is gone stays out", "File Copy: " + In("gone.txt") + "\n", freshBase, freshBase},
        {"a path outside the install folder stays out",
         "File Copy: C:\\Windows\\system.ini\nFile Copy: C:\\Program Files\\Kelvora\\Pindlemark2\\x\n",
         freshBase, freshBase},
        {"a path that climbs out of the install folder stays out",
         "File Copy: " + In("..\\..\\x.txt") + "\nMade Dir: " + In("Support\\.") + "\n", freshBase,
         freshBase},
        {"the install folder itself is no value inside it", "Made Dir: " + std::string(kDir) + "\n",
         freshBase, freshBase},
        {"a last line cut off with its file stays out",
         "File Copy: " + In("old.txt") + "\nFile Copy: " + In("cut.tx"), freshBase,
         freshBase + "File Copy: " + In("old.txt") + "\n"},
        {"registry keys are not carried", "RegDB Key: 2,SOFTWARE\\Old\n", freshBase, freshBase},
        {"a control the new release lacks", "Reg Ctrl: " + In("Controls\\Old.ocx") + "\n", freshBase,
         freshBase + "Reg Ctrl: " + In("Controls\\Old.ocx") + "\n"},
        {"a folder with nothing of the new record below it goes to the end, after what it holds",
         "Made Dir: " + In("Database\\legacy") + "\nFile Copy: " + In("Database\\legacy\\v1.dat") + "\n",
         freshBase,
         freshBase + "File Copy: " + In("Database\\legacy\\v1.dat") +
             "\nMade Dir: " + In("Database\\legacy") + "\n"},
        {"a folder goes before the first new folder below it", "Made Dir: " + In("Extra") + "\n",
         "Made Dir: " + In("Extra\\Sub") + "\n",
         "Made Dir: " + In("Extra") + "\nMade Dir: " + In("Extra\\Sub") + "\n"},
        {"nested carried folders end parent first, whatever their earlier order",
         "Made Dir: " + In("Old\\Inner") + "\nMade Dir: " + In("Old") + "\n", freshBase,
         freshBase + "Made Dir: " + In("Old") + "\nMade Dir: " + In("Old\\Inner") + "\n"},
        {"a Chinese name whose trail byte is a backslash byte", "File Copy: " + In("\xB1\\..\\x.txt") + "\n",
         freshBase, freshBase + "File Copy: " + In("\xB1\\..\\x.txt") + "\n"},
        {"nothing earlier", "", freshBase, freshBase},
    };
    const std::set<std::string> gone = {In("gone.txt")};
    for (const Row& row : rows) {
        CString strRecord(row.fresh.c_str());
        CarryEarlierRecords(strRecord, CString(row.earlier.c_str()), CString(kDir), ExistsUnlessGone,
                            const_cast<std::set<std::string>*>(&gone));
        EXPECT_EQ(std::string(static_cast<const char*>(strRecord)), row.expected) << row.what;
    }
}

TEST(RecordCarry, ReportsHowManyWereCarried) {
    CString strRecord;
    const std::set<std::string> gone;
    const std::string earlier = "File Copy: " + In("a") + "\nMade Dir: " + In("b") + "\nRegDB Key: 2,X\n";
    EXPECT_EQ(CarryEarlierRecords(strRecord, CString(earlier.c_str()), CString(kDir), ExistsUnlessGone,
                                  const_cast<std::set<std::string>*>(&gone)),
              2);
}
