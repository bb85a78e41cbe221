#include "framework/StringArray.h"

#include <gtest/gtest.h>

TEST(CStringArray, AddSetSizeRemove) {
    CStringArray arr;
    EXPECT_EQ(0, arr.Add("a"));
    EXPECT_EQ(1, arr.Add("b"));
    EXPECT_EQ(2, arr.Add("c"));
    EXPECT_EQ(2, arr.GetUpperBound());

    arr.RemoveAt(1);
    ASSERT_EQ(2, arr.GetSize());
    EXPECT_TRUE(arr[1] == "c");

    arr.SetSize(4);
    ASSERT_EQ(4, arr.GetSize());
    EXPECT_TRUE(arr.GetAt(0) == "a");
    EXPECT_TRUE(arr.GetAt(3).IsEmpty());

    arr[3] = "d";
    arr.SetAt(2, "x");
    EXPECT_TRUE(arr.GetAt(2) == "x");
    EXPECT_TRUE(arr.GetAt(3) == "d");

    arr.SetSize(1);
    EXPECT_EQ(1, arr.GetSize());
    arr.RemoveAll();
    EXPECT_TRUE(arr.IsEmpty());
    EXPECT_EQ(-1, arr.GetUpperBound());
}
