#include "record/RecordFormat.h"

#include <gtest/gtest.h>

#include <string>

#include "record/ProductKeys.h"
#include "tests/native/StringBytes.h"

TEST(RecordTag, KindsAndOutOfRange) {
    EXPECT_STREQ("File Copy: ", RecordTag(RECORD_FILE));
    EXPECT_STREQ("Made Dir: ", RecordTag(RECORD_FOLDER));
    EXPECT_STREQ("Reg Ctrl: ", RecordTag(RECORD_CONTROL));
    EXPECT_STREQ("RegDB Key: ", RecordTag(RECORD_REGKEY));
    EXPECT_EQ(nullptr, RecordTag(-1));
    EXPECT_EQ(nullptr, RecordTag(4));
    EXPECT_STREQ("Uninstall.log", RECORD_FILE_NAME);
}

TEST(AppendRecord, WritesTagValueAndLf) {
    CString record;
    AppendRecord(record, RECORD_FOLDER, "C:\\P\\Support");
    AppendRecord(record, RECORD_FILE, "C:\\P\\Support\\a.dat");
    AppendRecord(record, RECORD_CONTROL, "C:\\P\\Controls\\c.ocx");
    AppendRegKeyRecord(record, HIVE_LOCAL_MACHINE, "SOFTWARE\\Kelvora\\Pindlemark\\V5");
    AppendRecord(record, 7, "ignored");
    AppendRecord(record, RECORD_FILE, "");
    EXPECT_EQ(
        "Made Dir: C:\\P\\Support\n"
        "File Copy: C:\\P\\Support\\a.dat\n"
        "Reg Ctrl: C:\\P\\Controls\\c.ocx\n"
        "RegDB Key: 2,SOFTWARE\\Kelvora\\Pindlemark\\V5\n"
        "File Copy: \n",
        Bytes(record));
}

TEST(AppendRegKeyRecord, HiveCodes) {
    CString record;
    AppendRegKeyRecord(record, HIVE_CLASSES_ROOT, "A");
    AppendRegKeyRecord(record, HIVE_CURRENT_USER, "B");
    AppendRegKeyRecord(record, HIVE_USERS, "C");
    AppendRegKeyRecord(record, HIVE_OTHER, "D");
    EXPECT_EQ("RegDB Key: 0,A\nRegDB Key: 1,B\nRegDB Key: 3,C\nRegDB Key: 4,D\n", Bytes(record));
}

TEST(HiveFromCode, WholeTextMustMatch) {
    EXPECT_EQ(HIVE_CLASSES_ROOT, HiveFromCode("0"));
    EXPECT_EQ(HIVE_CURRENT_USER, HiveFromCode("1"));
    EXPECT_EQ(HIVE_LOCAL_MACHINE, HiveFromCode("2"));
    EXPECT_EQ(HIVE_USERS, HiveFromCode("3"));
    EXPECT_EQ(HIVE_OTHER, HiveFromCode("4"));
    EXPECT_EQ(HIVE_OTHER, HiveFromCode(""));
    EXPECT_EQ(HIVE_OTHER, HiveFromCode("02"));
    EXPECT_EQ(HIVE_OTHER, HiveFromCode("2 "));
    EXPECT_EQ(HIVE_OTHER, HiveFromCode(CString("2\0", 2)));
}

TEST(SplitRegKeyValue, SplitsAtFirstComma) {
    RecordHive hive = HIVE_CLASSES_ROOT;
    CString key;
    ASSERT_TRUE(SplitRegKeyValue("2,SOFTWARE\\Kelvora\\Pindlemark\\V5", hive, key));
    EXPECT_EQ(HIVE_LOCAL_MACHINE, hive);
    EXPECT_EQ("SOFTWARE\\Kelvora\\Pindlemark\\V5", Bytes(key));

    ASSERT_TRUE(SplitRegKeyValue("1,a,b", hive, key));
    EXPECT_EQ(HIVE_CURRENT_USER, hive);
    EXPECT_EQ("a,b", Bytes(key));

    ASSERT_TRUE(SplitRegKeyValue(",x", hive, key));
    EXPECT_EQ(HIVE_OTHER, hive);
    EXPECT_EQ("x", Bytes(key));

    ASSERT_TRUE(SplitRegKeyValue("3,", hive, key));
    EXPECT_EQ(HIVE_USERS, hive);
    EXPECT_TRUE(key.IsEmpty());
}

TEST(SplitRegKeyValue, NoCommaIsRejected) {
    RecordHive hive = HIVE_USERS;
    CString key("unchanged");
    EXPECT_FALSE(SplitRegKeyValue("SOFTWARE\\Kelvora", hive, key));
    EXPECT_FALSE(SplitRegKeyValue("", hive, key));
    EXPECT_EQ(HIVE_USERS, hive);
    EXPECT_EQ("unchanged", Bytes(key));
}
