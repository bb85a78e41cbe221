// The self-removal batch's text and the command that runs it: every line, the quoting, CR LF, the
// bound and the size limits.
#include "uninstall/RemovalBatchText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::string Bytes(const CString& str)
{
    return std::string((const char*)str, (size_t)str.GetLength());
}

CString Text(const std::string& str)
{
    return CString(str.data(), (int)str.size());
}

// Splits at CR LF; fails the test on a bare CR or LF or a missing final CR LF.
std::vector<std::string> Lines(const std::string& strText)
{
    std::vector<std::string> lines;
    size_t nStart = 0;
    while (nStart < strText.size())
    {
        size_t nEnd = strText.find("\r\n", nStart);
        if (nEnd == std::string::npos)
        {
            ADD_FAILURE() << "text does not end with CR LF: " << strText.substr(nStart);
            break;
        }
        std::string strLine = strText.substr(nStart, nEnd - nStart);
        EXPECT_EQ(std::string::npos, strLine.find_first_of("\r\n")) << strLine;
        lines.push_back(strLine);
        nStart = nEnd + 2;
    }
    return lines;
}

std::string Build(const std::string& strExe, int nPasses)
{
    CString strText;
    EXPECT_TRUE(BuildRemovalBatchText(Text(strExe), nPasses, strText)) << strExe;
    return Bytes(strText);
}

} // namespace

TEST(RemovalBatchText, LinesForTheInstalledProgram)
{
    const std::string strExe = "C:\\Program Files\\Kelvora\\Pindlemark\\Uninstall.exe";
    const std::vector<std::string> expected = {
        "setlocal enableextensions",
        "set DelUSPass=0",
        ":Repeat",
        "set /a DelUSPass+=1",
        "if %DelUSPass% GTR 120 goto Stop",
        "if %DelUSPass% GTR 1 ping -n 2 127.0.0.1 >nul",
        "del \"C:\\Program Files\\Kelvora\\Pindlemark\\Uninstall.exe\"",
        "if exist \"C:\\Program Files\\Kelvora\\Pindlemark\\Uninstall.exe\" goto Repeat",
        "rmdir \"C:\\Program Files\\Kelvora\\Pindlemark\"",
        ":Stop",
        "del \"\\DelUS.bat\"",
    };
    EXPECT_EQ(expected, Lines(Build(strExe, REMOVAL_BATCH_PASSES)));
    EXPECT_EQ(120, REMOVAL_BATCH_PASSES);
}

TEST(RemovalBatchText, FolderIsTheProgramsParent)
{
    // The parent is cut at the last real backslash (PathText_test): here the program's name
    // ends in a GBK character whose trail byte is 0x5C.
    std::vector<std::string> lines = Lines(Build("C:\\dir\\\x95\x5C.exe", 1));
    ASSERT_EQ(11u, lines.size());
    EXPECT_EQ("rmdir \"C:\\dir\"", lines[8]);
}

TEST(RemovalBatchText, PercentSignsAreDoubled)
{
    std::vector<std::string> lines = Lines(Build("C:\\100%\\a%PATH%b\\Uninstall.exe", 3));
    ASSERT_EQ(11u, lines.size());
    EXPECT_EQ("del \"C:\\100%%\\a%%PATH%%b\\Uninstall.exe\"", lines[6]);
    EXPECT_EQ("if exist \"C:\\100%%\\a%%PATH%%b\\Uninstall.exe\" goto Repeat", lines[7]);
    EXPECT_EQ("rmdir \"C:\\100%%\\a%%PATH%%b\"", lines[8]);
}

TEST(RemovalBatchText, RefusesWhatCannotBeQuotedOrHasNoFolder)
{
    const std::string refused[] = {
        "Uninstall.exe",
        "",
        "C:\\a\"b\\Uninstall.exe",
        "C:\\a\r\nrmdir C:\\x\\Uninstall.exe",
        "C:\\a\nb\\Uninstall.exe",
        std::string("C:\\a\0b\\Uninstall.exe", 20),
    };
    for (const std::string& strExe : refused)
    {
        CString strText("left over");
        EXPECT_FALSE(BuildRemovalBatchText(Text(strExe), 10, strText)) << strExe;
        EXPECT_TRUE(strText.IsEmpty());
    }
    CString strText;
    EXPECT_FALSE(BuildRemovalBatchText("C:\\a\\u.exe", 0, strText));
    EXPECT_FALSE(BuildRemovalBatchText("C:\\a\\u.exe", -1, strText));
}

TEST(RemovalBatchText, LongestModulePathFitsTheBuffer)
{
    // GetModuleFileNameA with a 260-byte buffer gives at most 259 bytes.
    std::string strExe = "C:\\" + std::string(245, 'd') + "\\" + "Uninst.exe";
    ASSERT_EQ(259u, strExe.size());
    std::string strText = Build(strExe, REMOVAL_BATCH_PASSES);
    EXPECT_LT(strText.size(), (size_t)REMOVAL_BATCH_TEXT_LIMIT);
    EXPECT_EQ(11u, Lines(strText).size());

    // Even a path of percent signs only, each of them doubled, fits.
    std::string strPercent = "C:\\" + std::string(250, '%') + "\\u.exe";
    ASSERT_EQ(259u, strPercent.size());
    CString strOut;
    EXPECT_TRUE(BuildRemovalBatchText(Text(strPercent), REMOVAL_BATCH_PASSES, strOut));
    EXPECT_LT(strOut.GetLength(), REMOVAL_BATCH_TEXT_LIMIT);

    // A text over the limit is refused whole, never cut: find the longest folder that still
    // fits, one more byte must not.
    std::string strFit;
    for (int n = 1; n < 600; ++n)
    {
        std::string strTry = "C:\\" + std::string((size_t)n, '%') + "\\u.exe";
        CString strTryText;
        if (!BuildRemovalBatchText(Text(strTry), REMOVAL_BATCH_PASSES, strTryText))
            break;
        EXPECT_LT(strTryText.GetLength(), REMOVAL_BATCH_TEXT_LIMIT);
        strFit = Bytes(strTryText);
    }
    EXPECT_GE(strFit.size(), (size_t)REMOVAL_BATCH_TEXT_LIMIT - 6) << "the limit stops the text, not something else";
}

TEST(RemovalBatchText, CommandWaitsForTheInputsEndThenRunsTheBatch)
{
    CString strCommand("left over");
    ASSERT_TRUE(BuildRemovalBatchCommand("C:\\WINDOWS\\system32\\cmd.exe", strCommand));
    EXPECT_EQ("\"C:\\WINDOWS\\system32\\cmd.exe\" /d /e:on /c \"set /p DelUSWait=& \\DelUS.bat\"", Bytes(strCommand));

    const std::string refused[] = {"", "C:\\a\"b\\cmd.exe", "C:\\a\nb\\cmd.exe",
                                   "C:\\" + std::string(REMOVAL_BATCH_COMMAND_LIMIT, 'd') + "\\cmd.exe"};
    for (const std::string& strInterpreter : refused)
    {
        strCommand = "left over";
        EXPECT_FALSE(BuildRemovalBatchCommand(Text(strInterpreter), strCommand)) << strInterpreter;
        EXPECT_TRUE(strCommand.IsEmpty());
    }
    // A system folder of MAX_PATH - 1 bytes still fits.
    std::string strLongest = "C:\\" + std::string(259 - 11, 'd') + "\\cmd.exe";
    ASSERT_EQ(259u, strLongest.size());
    EXPECT_TRUE(BuildRemovalBatchCommand(Text(strLongest), strCommand));
}
