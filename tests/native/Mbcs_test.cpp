#include "framework/Mbcs.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(MbcsCharLength, LeadByteNeedsAValidTrailByte) {
    EXPECT_EQ(2, MbcsCharLength("\xB0\xA1", 2));
    EXPECT_EQ(2, MbcsCharLength("\x81\x40", 2));
    EXPECT_EQ(2, MbcsCharLength("\xFE\x7E", 2));
    EXPECT_EQ(2, MbcsCharLength("\xFE\x80", 2));
    EXPECT_EQ(2, MbcsCharLength("\xFE\xFE", 2));

    EXPECT_EQ(1, MbcsCharLength("\x81\n", 2));
    EXPECT_EQ(1, MbcsCharLength("\x81\r", 2));
    EXPECT_EQ(1, MbcsCharLength("\x81\0", 2));
    EXPECT_EQ(1, MbcsCharLength("\x81\x3F", 2));
    EXPECT_EQ(1, MbcsCharLength("\x81\x7F", 2));
    EXPECT_EQ(1, MbcsCharLength("\x81\xFF", 2));
    EXPECT_EQ(1, MbcsCharLength("\x80\x40", 2));
    EXPECT_EQ(1, MbcsCharLength("\xFF\x40", 2));
}

TEST(MbcsCharLength, NeverLooksPastTheGivenLength) {
    EXPECT_EQ(1, MbcsCharLength("\xB0\xA1", 1));
    EXPECT_EQ(0, MbcsCharLength("\xB0\xA1", 0));
}

TEST(MbcsFind, MatchNeverStartsOnATrailByte) {
    // 0x81 0x46 is one character whose trail byte is 'F'.
    const char* text = "\x81\x46ile Copy: x";
    EXPECT_EQ(-1, MbcsFind(text, static_cast<int>(std::strlen(text)), "File", 4, 0));
    EXPECT_EQ(-1, MbcsFind(text, static_cast<int>(std::strlen(text)), "F", 1, 0));
}

TEST(MbcsFind, StartInsideACharacterIsUsedAsIs) {
    const char* text = "\x81\x46ile";
    EXPECT_EQ(1, MbcsFind(text, 5, "File", 4, 1));
}

TEST(MbcsFind, MatchNeverEndsInsideACharacter) {
    const char* text =
        "ab\xB0\xA1"
        "ab\xB0";
    EXPECT_EQ(4, MbcsFind(text, 7, "ab\xB0", 3, 0));
    EXPECT_EQ(-1, MbcsFind(text, 4, "ab\xB0", 3, 0));
}

TEST(MbcsFind, LeadByteBeforeLineEndDoesNotHideTheNextLine) {
    const char* text = "a\x81\nFile";
    EXPECT_EQ(3, MbcsFind(text, 7, "File", 4, 0));
    EXPECT_EQ(2, MbcsFindChar(text, 7, '\n', 0));
}

TEST(MbcsFind, StartAndEmptyPatternRules) {
    EXPECT_EQ(0, MbcsFind("abc", 3, "a", 1, -7));
    EXPECT_EQ(-1, MbcsFind("abc", 3, "a", 1, 1));
    EXPECT_EQ(-1, MbcsFind("abc", 3, "c", 1, 3));
    EXPECT_EQ(-1, MbcsFind("abc", 3, "c", 1, 4));
    EXPECT_EQ(2, MbcsFind("abc", 3, "", 0, 2));
    EXPECT_EQ(3, MbcsFind("abc", 3, "", 0, 3));
    EXPECT_EQ(-1, MbcsFind("abc", 3, "", 0, 4));
    EXPECT_EQ(-1, MbcsFind("", 0, "a", 1, 0));
}

TEST(MbcsFind, HonoursExplicitLengths) {
    const char text[] = {'x', '\0', 'F', 'i', 'l', 'e'};
    EXPECT_EQ(2, MbcsFind(text, 6, "File", 4, 0));
    EXPECT_EQ(-1, MbcsFind(text, 5, "File", 4, 0));
    EXPECT_EQ(1, MbcsFind(text, 6, "\0F", 2, 0));
}

TEST(MbcsFindChar, SkipsTrailBytesEqualToTheCharacter) {
    // 0x95 0x5C is a double-byte character ending in the backslash byte.
    const char* text =
        "\x95\x5C"
        "a\\b\x95\x5C";
    EXPECT_EQ(3, MbcsFindChar(text, 7, '\\', 0));
    EXPECT_EQ(-1, MbcsFindChar(text, 7, '\\', 4));
    EXPECT_EQ(3, MbcsReverseFindChar(text, 7, '\\'));
    EXPECT_EQ(-1, MbcsReverseFindChar("\x95\x5C", 2, '\\'));
    EXPECT_EQ(-1, MbcsFindChar("abc", 3, 'a', 3));
}

TEST(MbcsCompare, ComparesCharactersAndLengths) {
    EXPECT_EQ(0, MbcsCompare("abc", 3, "abc", 3));
    EXPECT_EQ(-1, MbcsCompare("ab", 2, "abc", 3));
    EXPECT_EQ(1, MbcsCompare("abc", 3, "ab", 2));
    EXPECT_EQ(-1, MbcsCompare("a\0b", 3, "a\0c", 3));
    EXPECT_EQ(0, MbcsCompare("", 0, "", 0));
    // A single byte ranks below every double-byte character, also the byte 0xFF.
    EXPECT_EQ(-1, MbcsCompare("\xFF", 1, "\xFE\x40", 2));
    EXPECT_EQ(-1, MbcsCompare("\xB0\xA1", 2, "\xB0\xA2", 2));
}

TEST(MbcsCompareNoCase, FoldsAsciiLettersOnly) {
    EXPECT_EQ(0, MbcsCompareNoCase("Setup.EXE", 9, "setup.exe", 9));
    // Letters fold to lower case, so '_' sorts before both 'a' and 'A'.
    EXPECT_EQ(-1, MbcsCompareNoCase("_", 1, "A", 1));
    // Trail bytes 'A' and 'a' belong to different characters and must not be folded.
    EXPECT_NE(0, MbcsCompareNoCase("\x81\x41", 2, "\x81\x61", 2));
    // Full-width letters are whole units, not folded.
    EXPECT_NE(0, MbcsCompareNoCase("\xA3\xC1", 2, "\xA3\xE1", 2));
    EXPECT_EQ(0, MbcsCompareNoCase("C:\\程序", 7, "c:\\程序", 7));
}

TEST(MbcsCopyBytes, NeverSplitsACharacterAndPadsWithNul) {
    char buf[8];

    std::memset(buf, 'x', sizeof(buf));
    MbcsCopyBytes(buf, "a\xB0\xA1\xB0\xA1", 4);
    EXPECT_EQ(0, std::memcmp(buf, "a\xB0\xA1\0xxxx", 8));

    std::memset(buf, 'x', sizeof(buf));
    MbcsCopyBytes(buf, "a\xB0\xA1", 2);
    EXPECT_EQ(0, std::memcmp(buf, "a\0xxxxxx", 8));

    std::memset(buf, 'x', sizeof(buf));
    EXPECT_EQ(buf, MbcsCopyBytes(buf, "ab", 5));
    EXPECT_EQ(0, std::memcmp(buf, "ab\0\0\0xxx", 8));

    // A lone lead byte before the terminator is a character of its own.
    std::memset(buf, 'x', sizeof(buf));
    MbcsCopyBytes(buf, "a\x81", 3);
    EXPECT_EQ(0, std::memcmp(buf, "a\x81\0xxxxx", 8));

    std::memset(buf, 'x', sizeof(buf));
    MbcsCopyBytes(buf, "abc", 0);
    EXPECT_EQ('x', buf[0]);
}
