// The conversion at the programs' boundary: GBK text to the system's UTF-16, and what is no GBK.
#include "framework/WideText.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "framework/FileCalls.h"

TEST(WideText, BytesThatAreNoGbkGiveNoTextAndNoFileCall) {
    struct Row {
        const char* what;
        const char* text;
    };
    const Row rows[] = {
        {"a lead byte at the end", "C:\\\x81"},
        {"a byte GBK never uses", "\xFF"},
        {"a lead byte before an invalid trail", "C:\\\x81\x20.txt"},
    };
    for (const Row& row : rows) {
        const CWideText text(row.text);
        EXPECT_FALSE(text.IsValid()) << row.what << ": taken as " << text.GetLength() << " characters";
        SetLastError(0xdeadbeef);
        EXPECT_EQ(AfxGetFileAttributes(row.text), INVALID_FILE_ATTRIBUTES) << row.what;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION)) << row.what;
    }
    const CWideText valid("C:\\\xB0\xA1");
    ASSERT_TRUE(valid.IsValid());
    EXPECT_EQ(std::wstring(static_cast<LPCWSTR>(valid)), std::wstring(L"C:\\\x554A"));
}
