#include "framework/NarrowString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "tests/native/StringBytes.h"

TEST(CStringConstruct, LengthsAreExplicit) {
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_EQ(std::string("a\0b", 3), Bytes(CString("a\0b", 3)));
    EXPECT_TRUE(CString("abc", -1).IsEmpty());
    EXPECT_EQ("xxx", Bytes(CString('x', 3)));
    EXPECT_TRUE(CString('x', 0).IsEmpty());
    EXPECT_TRUE(CString('x', -2).IsEmpty());
}

TEST(CStringEquality, EmbeddedNulCounts) {
    CString a("a\0b", 3);
    CString b("a\0c", 3);
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a == "a");
    EXPECT_TRUE(CString("abc") == "abc");
    EXPECT_TRUE("abc" == CString("abc"));
    EXPECT_TRUE(CString("abc") != "abd");
    EXPECT_EQ('\0', static_cast<const char*>(a)[3]);
}

TEST(CStringConcat, AllOperandKindsAndAliasing) {
    CString str("a");
    str += CString("\0b", 2);
    str += "c";
    str += 'd';
    EXPECT_EQ(std::string("a\0bcd", 5), Bytes(str));

    EXPECT_EQ("xy", Bytes(CString("x") + "y"));
    EXPECT_EQ("xy", Bytes("x" + CString("y")));
    EXPECT_EQ("xy", Bytes('x' + CString("y")));
    EXPECT_EQ("xy", Bytes(CString("x") + 'y'));

    CString self("ab");
    self += self;
    EXPECT_EQ("abab", Bytes(self));
    self = self;
    EXPECT_EQ("abab", Bytes(self));
    self = static_cast<const char*>(self) + 2;
    EXPECT_EQ("ab", Bytes(self));
}

TEST(CStringSlice, MidLeftRightClampLikeTheClassicClass) {
    CString str("abcdef");
    EXPECT_EQ("cde", Bytes(str.Mid(2, 3)));
    EXPECT_EQ("ab", Bytes(str.Mid(-1, 2)));
    EXPECT_EQ("cdef", Bytes(str.Mid(2, 100)));
    EXPECT_EQ("cdef", Bytes(str.Mid(2, INT_MAX)));
    EXPECT_EQ("", Bytes(str.Mid(1, -5)));
    EXPECT_EQ("", Bytes(str.Mid(6)));
    EXPECT_EQ("", Bytes(str.Mid(10)));
    EXPECT_EQ("", Bytes(str.Mid(INT_MAX, INT_MAX)));
    EXPECT_EQ("abcdef", Bytes(str.Mid(-3)));
    EXPECT_EQ("f", Bytes(str.Mid(5)));

    EXPECT_EQ("", Bytes(str.Left(-1)));
    EXPECT_EQ("abc", Bytes(str.Left(3)));
    EXPECT_EQ("abcdef", Bytes(str.Left(100)));
    EXPECT_EQ("", Bytes(str.Right(-3)));
    EXPECT_EQ("ef", Bytes(str.Right(2)));
    EXPECT_EQ("abcdef", Bytes(str.Right(100)));

    EXPECT_EQ(std::string("\0b", 2), Bytes(CString("a\0b", 3).Right(2)));
}

TEST(CStringFind, StartRules) {
    CString str("abcabc");
    EXPECT_EQ(3, str.Find("abc", 1));
    EXPECT_EQ(0, str.Find("abc", -4));
    EXPECT_EQ(-1, str.Find("abc", 4));
    EXPECT_EQ(-1, str.Find("abc", 6));
    EXPECT_EQ(-1, str.Find("abc", 7));
    EXPECT_EQ(4, str.Find('b', 2));
    EXPECT_EQ(1, str.Find('b', -1));
    EXPECT_EQ(-1, str.Find('b', 7));
    EXPECT_EQ(-1, str.Find('z'));
    EXPECT_EQ(4, str.ReverseFind('b'));
    EXPECT_EQ(-1, CString().ReverseFind('b'));
}

TEST(CStringFind, DoubleByteAware) {
    CString str("\x81\x46ile Copy: x");
    EXPECT_EQ(-1, str.Find("File Copy: "));
    EXPECT_EQ(-1, str.Find('F'));

    CString path("C:\\\x95\x5C");
    EXPECT_EQ(2, path.ReverseFind('\\'));

    CString withNul("a\0File", 6);
    EXPECT_EQ(2, withNul.Find("File"));
    EXPECT_EQ(1, withNul.Find('\0'));
}

TEST(CStringTrim, StripsOnlyAsciiWhiteSpace) {
    // 0xA0 and 0x85 are GBK trail bytes, and white space in some host locales.
    CString str(" \t\v\f\xB0\xA0\r\n");
    str.Trim();
    EXPECT_EQ("\xB0\xA0", Bytes(str));

    CString withNel("\xB0\x85 ");
    withNel.TrimRight();
    EXPECT_EQ("\xB0\x85", Bytes(withNel));

    // A lone 0xA0 byte is no white space either.
    CString lone(
        "\xA0"
        "a\xA0");
    lone.Trim();
    EXPECT_EQ(
        "\xA0"
        "a\xA0",
        Bytes(lone));

    CString lead("\x81 ");
    lead.TrimRight();
    EXPECT_EQ("\x81", Bytes(lead));

    CString left("  a b  ");
    left.TrimLeft();
    EXPECT_EQ("a b  ", Bytes(left));
    left.TrimRight();
    EXPECT_EQ("a b", Bytes(left));

    CString blank(" \r\n\t ");
    blank.Trim();
    EXPECT_TRUE(blank.IsEmpty());
}

TEST(CStringCompare, MbcsOrderAndNoCase) {
    EXPECT_EQ(0, CString("Setup.EXE").CompareNoCase("setup.exe"));
    EXPECT_EQ(0, CString("C:\\程序\\A").CompareNoCase(CString("c:\\程序\\a")));
    EXPECT_NE(0, CString("\x81\x41").CompareNoCase("\x81\x61"));
    EXPECT_LT(CString("abc").Compare("abd"), 0);
    EXPECT_GT(CString("abc").Compare("ab"), 0);
    EXPECT_EQ(0, CString("").Compare(static_cast<const char*>(nullptr)));
    EXPECT_NE(0, CString("A").Compare("a"));
}

TEST(CStringFormat, LongOutputAndSelfArgument) {
    CString longText('x', 100000);
    CString str;
    EXPECT_TRUE(str.Format("%s-%d", static_cast<const char*>(longText), 42));
    ASSERT_EQ(100003, str.GetLength());
    EXPECT_EQ("-42", Bytes(str.Right(3)));
    EXPECT_EQ('x', str[0]);

    CString self("ab");
    self.Format("%s%s", static_cast<const char*>(self), static_cast<const char*>(self));
    EXPECT_EQ("abab", Bytes(self));

    str.Format("%s", "");
    EXPECT_TRUE(str.IsEmpty());

    str.Format("%d%%", 57);
    EXPECT_EQ("57%", Bytes(str));
}

TEST(CStringBuffer, GetBufferReleaseBuffer) {
    CString str("abc");
    char* buffer = str.GetBuffer(10);
    EXPECT_EQ(0, std::memcmp(buffer, "abc", 3));
    std::strcpy(buffer, "0123456789");
    str.ReleaseBuffer();
    EXPECT_EQ("0123456789", Bytes(str));

    buffer = str.GetBuffer(0);
    buffer[4] = '\0';
    str.ReleaseBuffer();
    EXPECT_EQ("0123", Bytes(str));

    str.GetBuffer(20);
    str.ReleaseBuffer(2);
    EXPECT_EQ("01", Bytes(str));

    str.GetBuffer(2);
    str.ReleaseBuffer(1000);
    EXPECT_EQ("01", Bytes(str));

    buffer = str.GetBufferSetLength(5);
    std::memcpy(buffer, "a\0cde", 5);
    str.ReleaseBuffer(5);
    EXPECT_EQ(std::string("a\0cde", 5), Bytes(str));

    str.GetBufferSetLength(1);
    EXPECT_EQ("a", Bytes(str));
    EXPECT_EQ('\0', static_cast<const char*>(str)[1]);
}

TEST(CStringAccess, GetAtSetAt) {
    CString str("abc");
    str.SetAt(1, 'X');
    EXPECT_EQ('X', str.GetAt(1));
    EXPECT_EQ('c', str[2]);
    str.Empty();
    EXPECT_EQ(0, str.GetLength());
    EXPECT_STREQ("", static_cast<const char*>(str));
}
