// The uninstaller's scan of the install record, including damaged and hostile texts.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "record/RecordFormat.h"
#include "tests/native/StringBytes.h"

namespace {

const int kAllKinds[] = {RECORD_FILE, RECORD_FOLDER, RECORD_CONTROL, RECORD_REGKEY};

// Scans every record of kind from pos 0 and checks what each FindRecord call hands out:
// the value lies inside the text and inside one line, follows its tag directly, ends at an
// LF or the end of the text, holds no NUL, and the position moves strictly forward.
std::vector<std::string> Scan(const CString& record, int kind) {
    std::vector<std::string> values;
    const char* text = record;
    const int textLength = record.GetLength();
    const char* tag = RecordTag(kind);
    const int tagLength = static_cast<int>(std::strlen(tag));

    int pos = 0;
    int start = -1;
    int length = -1;
    while (FindRecord(record, kind, pos, start, length)) {
        EXPECT_GE(start, tagLength);
        EXPECT_GE(length, 0);
        EXPECT_LE(start + length, textLength);
        if (start < tagLength || length < 0 || start + length > textLength) break;
        EXPECT_EQ(0, std::memcmp(text + start - tagLength, tag, static_cast<size_t>(tagLength)));
        std::string value(text + start, static_cast<size_t>(length));
        EXPECT_EQ(std::string::npos, value.find('\n'));
        EXPECT_EQ(std::string::npos, value.find('\0'));
        int end = start + length;
        EXPECT_TRUE(end == textLength || text[end] == '\n');
        EXPECT_EQ(end + 1, pos);
        values.push_back(value);
        if (static_cast<int>(values.size()) > textLength) {
            ADD_FAILURE() << "scan does not end";
            break;
        }
    }
    EXPECT_EQ(static_cast<int>(values.size()), CountRecords(record, kind));
    return values;
}

typedef std::vector<std::string> Values;

}  // namespace

TEST(RecordScan, KindsAreVisitedInFileOrderWithoutInterference) {
    CString record;
    AppendRecord(record, RECORD_FOLDER, "C:\\P\\Support");
    AppendRecord(record, RECORD_FILE, "C:\\P\\Support\\a.dat");
    AppendRecord(record, RECORD_FOLDER, "C:\\P\\Controls");
    AppendRecord(record, RECORD_FILE, "C:\\P\\Controls\\c.ocx");
    AppendRecord(record, RECORD_CONTROL, "C:\\P\\Controls\\c.ocx");
    AppendRegKeyRecord(record, HIVE_LOCAL_MACHINE, "SOFTWARE\\Kelvora\\Pindlemark\\V5");
    AppendRecord(record, RECORD_FILE, "C:\\P\\Uninstall.log");

    EXPECT_EQ((Values{"C:\\P\\Support\\a.dat", "C:\\P\\Controls\\c.ocx", "C:\\P\\Uninstall.log"}),
              Scan(record, RECORD_FILE));
    EXPECT_EQ((Values{"C:\\P\\Support", "C:\\P\\Controls"}), Scan(record, RECORD_FOLDER));
    EXPECT_EQ((Values{"C:\\P\\Controls\\c.ocx"}), Scan(record, RECORD_CONTROL));
    EXPECT_EQ((Values{"2,SOFTWARE\\Kelvora\\Pindlemark\\V5"}), Scan(record, RECORD_REGKEY));
}

TEST(RecordScan, GbkPathsRoundTrip) {
    // Trail bytes 0x5C ('\') and 0x7C, a lead byte right before the line end.
    const char* paths[] = {"C:\\数据库\\文件.dat", "C:\\\x95\x5C\\a", "C:\\\x81\x7C", "C:\\x\x81"};
    CString record;
    for (const char* path : paths) AppendRecord(record, RECORD_FILE, path);

    Values values = Scan(record, RECORD_FILE);
    ASSERT_EQ(4u, values.size());
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(paths[i], values[i]);
}

TEST(RecordScan, TagInTheMiddleOfALineIsARecord) {
    CString record("garbage File Copy: C:\\a\nMade Dir: C:\\b File Copy: C:\\c\n");
    // Each kind is scanned on its own: the file scan finds the tag inside the folder line,
    // while the folder value runs on to the line end over that tag.
    EXPECT_EQ((Values{"C:\\a", "C:\\c"}), Scan(record, RECORD_FILE));
    EXPECT_EQ((Values{"C:\\b File Copy: C:\\c"}), Scan(record, RECORD_FOLDER));
}

TEST(RecordScan, LastRecordWithoutLineEndRunsToTheEnd) {
    CString record("File Copy: a\nFile Copy: b");
    EXPECT_EQ((Values{"a", "b"}), Scan(record, RECORD_FILE));
    EXPECT_EQ((Values{"no line end"}), Scan("Made Dir: no line end", RECORD_FOLDER));
}

TEST(RecordScan, TagAtTheVeryEndGivesAnEmptyValue) {
    CString record("File Copy: a\nFile Copy: ");
    int pos = 13;
    int start = -1;
    int length = -1;
    ASSERT_TRUE(FindRecord(record, RECORD_FILE, pos, start, length));
    EXPECT_EQ(record.GetLength(), start);
    EXPECT_EQ(0, length);
    EXPECT_FALSE(FindRecord(record, RECORD_FILE, pos, start, length));
    EXPECT_EQ((Values{"a", ""}), Scan(record, RECORD_FILE));
    EXPECT_EQ((Values{""}), Scan("Reg Ctrl: \n", RECORD_CONTROL));
}

TEST(RecordScan, EmptyTextHasNoRecords) {
    CString record;
    for (int kind : kAllKinds) {
        EXPECT_EQ(0, CountRecords(record, kind));
        int pos = 0;
        int start = 11;
        int length = 22;
        EXPECT_FALSE(FindRecord(record, kind, pos, start, length));
        EXPECT_EQ(0, pos);
        EXPECT_EQ(11, start);
        EXPECT_EQ(22, length);
    }
}

TEST(RecordScan, TextWithoutTagsHasNoRecords) {
    CString record("\n\nsome notes\r\nFile Copy:x\nfile copy: y\nMade Dir:\n");
    for (int kind : kAllKinds) EXPECT_EQ(0, CountRecords(record, kind));
}

TEST(RecordScan, TagFirstByteAsTrailByteIsNotATag) {
    // 0x81 0x46 and 0xB0 0x4D are GBK characters whose trail bytes are 'F' and 'M'.
    EXPECT_TRUE(Scan("\x81\x46ile Copy: x\n", RECORD_FILE).empty());
    EXPECT_TRUE(Scan("\xB0Made Dir: x\n", RECORD_FOLDER).empty());
    // A lead byte at the end of a line stands alone; the next line's tag is found.
    EXPECT_EQ((Values{"y"}), Scan("junk\x81\nFile Copy: y\n", RECORD_FILE));
    EXPECT_EQ((Values{"a\x81", "b"}), Scan("File Copy: a\x81\nFile Copy: b\n", RECORD_FILE));
}

TEST(RecordScan, LoneCarriageReturnIsNotALineEnd) {
    CString record("File Copy: a\rFile Copy: b\r\n");
    EXPECT_EQ((Values{"a\rFile Copy: b\r"}), Scan(record, RECORD_FILE));
}

TEST(RecordScan, ValueWithNulIsPassedOver) {
    CString record = Text(std::string("File Copy: C:\\a\0.exe\nFile Copy: C:\\b\nFile\0Copy: C:\\c\n", 49));
    ASSERT_EQ(49, record.GetLength());
    EXPECT_EQ((Values{"C:\\b"}), Scan(record, RECORD_FILE));
    EXPECT_TRUE(Scan(Text(std::string("File Copy: \0", 12)), RECORD_FILE).empty());
}

TEST(RecordScan, PositionOutsideTheText) {
    CString record("File Copy: a\nFile Copy: b\n");
    int start = -1;
    int length = -1;

    int pos = record.GetLength() + 1;
    EXPECT_FALSE(FindRecord(record, RECORD_FILE, pos, start, length));
    pos = 1000000;
    EXPECT_FALSE(FindRecord(record, RECORD_FILE, pos, start, length));
    pos = record.GetLength();
    EXPECT_FALSE(FindRecord(record, RECORD_FILE, pos, start, length));
    EXPECT_EQ(-1, start);

    pos = -5;
    ASSERT_TRUE(FindRecord(record, RECORD_FILE, pos, start, length));
    EXPECT_EQ(11, start);
    EXPECT_EQ(1, length);
    EXPECT_EQ(13, pos);

    // Starting inside a tag finds the next one only.
    pos = 1;
    ASSERT_TRUE(FindRecord(record, RECORD_FILE, pos, start, length));
    EXPECT_EQ(24, start);
}

TEST(RecordScan, UnknownKindFindsNothing) {
    CString record("File Copy: a\n");
    int pos = 0;
    int start = 0;
    int length = 0;
    EXPECT_FALSE(FindRecord(record, -1, pos, start, length));
    EXPECT_FALSE(FindRecord(record, 4, pos, start, length));
    EXPECT_EQ(0, CountRecords(record, 4));
}

TEST(RecordScan, VeryLongLine) {
    std::string longText(100000, 'x');
    longText[5000] = '\xB0';
    longText[5001] = '\xA1';
    CString record = Text("File Copy: " + longText + "\nMade Dir: d\n");
    EXPECT_EQ((Values{longText}), Scan(record, RECORD_FILE));
    EXPECT_EQ((Values{"d"}), Scan(record, RECORD_FOLDER));
    EXPECT_EQ((Values{longText}), Scan(Text("Reg Ctrl: " + longText), RECORD_CONTROL));
}

TEST(RecordScan, EveryByteValue) {
    std::string binary;
    for (int n = 0; n < 256; ++n) binary += static_cast<char>(n);
    const std::string noNul = binary.substr(1);
    CString record = Text(binary + "File Copy: " + noNul + "RegDB Key: 2,k" + binary);
    // Each value ends at the 0x0A of the bytes after it; the key's value holds a NUL.
    EXPECT_EQ((Values{noNul.substr(0, 9)}), Scan(record, RECORD_FILE));
    EXPECT_TRUE(Scan(record, RECORD_REGKEY).empty());
    EXPECT_TRUE(Scan(record, RECORD_FOLDER).empty());
    EXPECT_TRUE(Scan(record, RECORD_CONTROL).empty());
}

TEST(RecordScan, RandomTextsKeepEveryValueInsideItsLine) {
    // Texts built from tag pieces, line ends, NULs and GBK lead and trail bytes.
    const char* pieceTexts[] = {"File Copy: ", "Made Dir: ", "Reg Ctrl: ", "RegDB Key: ", "\n",
                                "\r",          "\r\n",       "\x81",       "\xFE",        "\x40",
                                "F",           "C:\\",       "数据",       "\x95\x5C",    "x",
                                " ",           "File",       "Copy: ",     "\xFF",        "\x80"};
    const int pieceCount = static_cast<int>(sizeof(pieceTexts) / sizeof(pieceTexts[0]));
    std::mt19937 rng(20240531u);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        int count = static_cast<int>(rng() % 40);
        for (int i = 0; i < count; ++i) {
            if (rng() % 10 == 0)
                text += '\0';
            else
                text += pieceTexts[rng() % static_cast<unsigned>(pieceCount)];
        }
        CString record = Text(text);
        for (int kind : kAllKinds) Scan(record, kind);
        if (HasFailure()) {
            ADD_FAILURE() << "round " << round;
            break;
        }
    }
}
