// The sources are UTF-8 and narrow literals must come out as GBK bytes: every text the
// programs show or compare is code page 936.
#include <gtest/gtest.h>

#include <cstring>

TEST(Charset, ChineseLiteralCompilesToGbkBytes) {
    const char* text = "完成";
    ASSERT_EQ(4u, std::strlen(text));
    EXPECT_EQ(0xCD, static_cast<unsigned char>(text[0]));
    EXPECT_EQ(0xEA, static_cast<unsigned char>(text[1]));
    EXPECT_EQ(0xB3, static_cast<unsigned char>(text[2]));
    EXPECT_EQ(0xC9, static_cast<unsigned char>(text[3]));
}
