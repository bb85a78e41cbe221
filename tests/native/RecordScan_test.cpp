// The uninstaller's scan of the install record, including damaged and hostile texts.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "record/RecordFormat.h"

namespace {

const int ALL_KINDS[] = {RECORD_FILE, RECORD_FOLDER, RECORD_CONTROL, RECORD_REGKEY};

CString Text(const std::string& str) {
    return CString(str.data(), (int)str.size());
}

// Scans every record of nKind from pos 0 and checks what each FindRecord call hands out:
// the value lies inside the text and inside one line, follows its tag directly, ends at an
// LF or the end of the text, holds no NUL, and the position moves strictly forward.
std::vector<std::string> Scan(const CString& strRecord, int nKind) {
    std::vector<std::string> values;
    const char* pText = strRecord;
    const int nTextLength = strRecord.GetLength();
    const char* pszTag = RecordTag(nKind);
    const int nTagLength = (int)std::strlen(pszTag);

    int nPos = 0;
    int nStart = -1;
    int nLength = -1;
    while (FindRecord(strRecord, nKind, nPos, nStart, nLength)) {
        EXPECT_GE(nStart, nTagLength);
        EXPECT_GE(nLength, 0);
        EXPECT_LE(nStart + nLength, nTextLength);
        if (nStart < nTagLength || nLength < 0 || nStart + nLength > nTextLength) break;
        EXPECT_EQ(0, std::memcmp(pText + nStart - nTagLength, pszTag, (size_t)nTagLength));
        std::string strValue(pText + nStart, (size_t)nLength);
        EXPECT_EQ(std::string::npos, strValue.find('\n'));
        EXPECT_EQ(std::string::npos, strValue.find('\0'));
        int nEnd = nStart + nLength;
        EXPECT_TRUE(nEnd == nTextLength || pText[nEnd] == '\n');
        EXPECT_EQ(nEnd + 1, nPos);
        values.push_back(strValue);
        if ((int)values.size() > nTextLength) {
            ADD_FAILURE() << "scan does not end";
            break;
        }
    }
    EXPECT_EQ((int)values.size(), CountRecords(strRecord, nKind));
    return values;
}

typedef std::vector<std::string> Values;

}  // namespace

TEST(RecordScan, KindsAreVisitedInFileOrderWithoutInterference) {
    CString strRecord;
    AppendRecord(strRecord, RECORD_FOLDER, "C:\\P\\Support");
    AppendRecord(strRecord, RECORD_FILE, "C:\\P\\Support\\a.dat");
    AppendRecord(strRecord, RECORD_FOLDER, "C:\\P\\Controls");
    AppendRecord(strRecord, RECORD_FILE, "C:\\P\\Controls\\c.ocx");
    AppendRecord(strRecord, RECORD_CONTROL, "C:\\P\\Controls\\c.ocx");
    AppendRegKeyRecord(strRecord, HIVE_LOCAL_MACHINE, "SOFTWARE\\Kelvora\\Pindlemark\\V5");
    AppendRecord(strRecord, RECORD_FILE, "C:\\P\\Uninstall.log");

    EXPECT_EQ((Values{"C:\\P\\Support\\a.dat", "C:\\P\\Controls\\c.ocx", "C:\\P\\Uninstall.log"}),
              Scan(strRecord, RECORD_FILE));
    EXPECT_EQ((Values{"C:\\P\\Support", "C:\\P\\Controls"}), Scan(strRecord, RECORD_FOLDER));
    EXPECT_EQ((Values{"C:\\P\\Controls\\c.ocx"}), Scan(strRecord, RECORD_CONTROL));
    EXPECT_EQ((Values{"2,SOFTWARE\\Kelvora\\Pindlemark\\V5"}), Scan(strRecord, RECORD_REGKEY));
}

TEST(RecordScan, GbkPathsRoundTrip) {
    // Trail bytes 0x5C ('\') and 0x7C, a lead byte right before the line end.
    const char* apszPaths[] = {"C:\\数据库\\文件.dat", "C:\\\x95\x5C\\a", "C:\\\x81\x7C", "C:\\x\x81"};
    CString strRecord;
    for (const char* psz : apszPaths) AppendRecord(strRecord, RECORD_FILE, psz);

    Values values = Scan(strRecord, RECORD_FILE);
    ASSERT_EQ(4u, values.size());
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(apszPaths[i], values[i]);
}

TEST(RecordScan, TagInTheMiddleOfALineIsARecord) {
    CString strRecord("garbage File Copy: C:\\a\nMade Dir: C:\\b File Copy: C:\\c\n");
    // Each kind is scanned on its own: the file scan finds the tag inside the folder line,
    // while the folder value runs on to the line end over that tag.
    EXPECT_EQ((Values{"C:\\a", "C:\\c"}), Scan(strRecord, RECORD_FILE));
    EXPECT_EQ((Values{"C:\\b File Copy: C:\\c"}), Scan(strRecord, RECORD_FOLDER));
}

TEST(RecordScan, LastRecordWithoutLineEndRunsToTheEnd) {
    CString strRecord("File Copy: a\nFile Copy: b");
    EXPECT_EQ((Values{"a", "b"}), Scan(strRecord, RECORD_FILE));
    EXPECT_EQ((Values{"no line end"}), Scan("Made Dir: no line end", RECORD_FOLDER));
}

TEST(RecordScan, TagAtTheVeryEndGivesAnEmptyValue) {
    CString strRecord("File Copy: a\nFile Copy: ");
    int nPos = 13;
    int nStart = -1;
    int nLength = -1;
    ASSERT_TRUE(FindRecord(strRecord, RECORD_FILE, nPos, nStart, nLength));
    EXPECT_EQ(strRecord.GetLength(), nStart);
    EXPECT_EQ(0, nLength);
    EXPECT_FALSE(FindRecord(strRecord, RECORD_FILE, nPos, nStart, nLength));
    EXPECT_EQ((Values{"a", ""}), Scan(strRecord, RECORD_FILE));
    EXPECT_EQ((Values{""}), Scan("Reg Ctrl: \n", RECORD_CONTROL));
}

TEST(RecordScan, EmptyTextHasNoRecords) {
    CString strRecord;
    for (int nKind : ALL_KINDS) {
        EXPECT_EQ(0, CountRecords(strRecord, nKind));
        int nPos = 0;
        int nStart = 11;
        int nLength = 22;
        EXPECT_FALSE(FindRecord(strRecord, nKind, nPos, nStart, nLength));
        EXPECT_EQ(0, nPos);
        EXPECT_EQ(11, nStart);
        EXPECT_EQ(22, nLength);
    }
}

TEST(RecordScan, TextWithoutTagsHasNoRecords) {
    CString strRecord("\n\nsome notes\r\nFile Copy:x\nfile copy: y\nMade Dir:\n");
    for (int nKind : ALL_KINDS) EXPECT_EQ(0, CountRecords(strRecord, nKind));
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
    CString strRecord("File Copy: a\rFile Copy: b\r\n");
    EXPECT_EQ((Values{"a\rFile Copy: b\r"}), Scan(strRecord, RECORD_FILE));
}

TEST(RecordScan, ValueWithNulIsPassedOver) {
    CString strRecord =
        Text(std::string("File Copy: C:\\a\0.exe\nFile Copy: C:\\b\nFile\0Copy: C:\\c\n", 49));
    ASSERT_EQ(49, strRecord.GetLength());
    EXPECT_EQ((Values{"C:\\b"}), Scan(strRecord, RECORD_FILE));
    EXPECT_TRUE(Scan(Text(std::string("File Copy: \0", 12)), RECORD_FILE).empty());
}

TEST(RecordScan, PositionOutsideTheText) {
    CString strRecord("File Copy: a\nFile Copy: b\n");
    int nStart = -1;
    int nLength = -1;

    int nPos = strRecord.GetLength() + 1;
    EXPECT_FALSE(FindRecord(strRecord, RECORD_FILE, nPos, nStart, nLength));
    nPos = 1000000;
    EXPECT_FALSE(FindRecord(strRecord, RECORD_FILE, nPos, nStart, nLength));
    nPos = strRecord.GetLength();
    EXPECT_FALSE(FindRecord(strRecord, RECORD_FILE, nPos, nStart, nLength));
    EXPECT_EQ(-1, nStart);

    nPos = -5;
    ASSERT_TRUE(FindRecord(strRecord, RECORD_FILE, nPos, nStart, nLength));
    EXPECT_EQ(11, nStart);
    EXPECT_EQ(1, nLength);
    EXPECT_EQ(13, nPos);

    // Starting inside a tag finds the next one only.
    nPos = 1;
    ASSERT_TRUE(FindRecord(strRecord, RECORD_FILE, nPos, nStart, nLength));
    EXPECT_EQ(24, nStart);
}

TEST(RecordScan, UnknownKindFindsNothing) {
    CString strRecord("File Copy: a\n");
    int nPos = 0;
    int nStart = 0;
    int nLength = 0;
    EXPECT_FALSE(FindRecord(strRecord, -1, nPos, nStart, nLength));
    EXPECT_FALSE(FindRecord(strRecord, 4, nPos, nStart, nLength));
    EXPECT_EQ(0, CountRecords(strRecord, 4));
}

TEST(RecordScan, VeryLongLine) {
    std::string strLong(100000, 'x');
    strLong[5000] = '\xB0';
    strLong[5001] = '\xA1';
    CString strRecord = Text("File Copy: " + strLong + "\nMade Dir: d\n");
    EXPECT_EQ((Values{strLong}), Scan(strRecord, RECORD_FILE));
    EXPECT_EQ((Values{"d"}), Scan(strRecord, RECORD_FOLDER));
    EXPECT_EQ((Values{strLong}), Scan(Text("Reg Ctrl: " + strLong), RECORD_CONTROL));
}

TEST(RecordScan, EveryByteValue) {
    std::string strBinary;
    for (int n = 0; n < 256; ++n) strBinary += (char)n;
    const std::string strNoNul = strBinary.substr(1);
    CString strRecord = Text(strBinary + "File Copy: " + strNoNul + "RegDB Key: 2,k" + strBinary);
    // Each value ends at the 0x0A of the bytes after it; the key's value holds a NUL.
    EXPECT_EQ((Values{strNoNul.substr(0, 9)}), Scan(strRecord, RECORD_FILE));
    EXPECT_TRUE(Scan(strRecord, RECORD_REGKEY).empty());
    EXPECT_TRUE(Scan(strRecord, RECORD_FOLDER).empty());
    EXPECT_TRUE(Scan(strRecord, RECORD_CONTROL).empty());
}

TEST(RecordScan, RandomTextsKeepEveryValueInsideItsLine) {
    // Texts built from tag pieces, line ends, NULs and GBK lead and trail bytes.
    const char* apszPieces[] = {"File Copy: ", "Made Dir: ", "Reg Ctrl: ", "RegDB Key: ", "\n",
                                "\r",          "\r\n",       "\x81",       "\xFE",        "\x40",
                                "F",           "C:\\",       "数据",       "\x95\x5C",    "x",
                                " ",           "File",       "Copy: ",     "\xFF",        "\x80"};
    const int nPieces = (int)(sizeof(apszPieces) / sizeof(apszPieces[0]));
    std::mt19937 rng(20240531u);
    for (int nRound = 0; nRound < 2000; ++nRound) {
        std::string strText;
        int nCount = (int)(rng() % 40);
        for (int i = 0; i < nCount; ++i) {
            if (rng() % 10 == 0)
                strText += '\0';
            else
                strText += apszPieces[rng() % (unsigned)nPieces];
        }
        CString strRecord = Text(strText);
        for (int nKind : ALL_KINDS) Scan(strRecord, nKind);
        if (HasFailure()) {
            ADD_FAILURE() << "round " << nRound;
            break;
        }
    }
}
