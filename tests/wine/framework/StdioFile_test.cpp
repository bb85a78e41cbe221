#include "framework/StdioFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/TempFolder.h"

TEST(StdioFile, TextModeWritesCrLfAndReadsLf) {
    TempFolder folder("stdio");
    const std::string path = folder / "t.txt";
    {
        CStdioFile file(path.c_str(), CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeText);
        file.WriteString("一\n\n二\r\nthree");
        file.Close();
    }
    std::string bytes;
    ASSERT_TRUE(ReadBytes(path, bytes));
    EXPECT_EQ(bytes, "一\r\n\r\n二\r\r\nthree");

    CStdioFile file(path.c_str(), CStdioFile::modeRead | CStdioFile::typeText);
    ASSERT_EQ(file.GetLength(), bytes.size());
    std::string text(bytes.size(), '\0');
    UINT n = file.Read(&text[0], static_cast<UINT>(text.size()));
    text.resize(n);
    EXPECT_EQ(text, "一\n\n二\r\nthree");
}

TEST(StdioFile, OpeningAMissingFileThrowsWithNameAndCause) {
    TempFolder folder("stdio-missing");
    const std::string path = folder / "none.txt";
    try {
        CStdioFile file(path.c_str(), CStdioFile::modeRead | CStdioFile::typeText);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_lOsError, ERROR_FILE_NOT_FOUND);
        EXPECT_EQ(std::string(e.m_strFileName), path);
        EXPECT_NE(std::string(e.GetErrorMessage()).find(path), std::string::npos);
    }
}

TEST(StdioFile, OpenWithoutThrowingFillsTheError) {
    CStdioFile file;
    CFileException error;
    EXPECT_FALSE(
        file.Open("Z:\\no\\such\\folder\\x.txt", CStdioFile::modeCreate | CStdioFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::badPath);
    EXPECT_FALSE(file.IsOpen());
}
