// The sources are UTF-8 and narrow literals must come out as GBK bytes: every text the
// programs show or compare is code page 936.
#include <gtest/gtest.h>

#include <cstring>

TEST(Charset, ChineseLiteralCompilesToGbkBytes) {
    const char* psz = "完成";
    ASSERT_EQ(4u, std::strlen(psz));
    EXPECT_EQ(0xCD, (unsigned char)psz[0]);
    EXPECT_EQ(0xEA, (unsigned char)psz[1]);
    EXPECT_EQ(0xB3, (unsigned char)psz[2]);
    EXPECT_EQ(0xC9, (unsigned char)psz[3]);
}
