// The self-removal batch's text and the command that runs it: every line, the quoting, CR LF, the
// bound and the size limits.
#include "uninstall/RemovalBatchText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/native/StringBytes.h"

namespace {

// Splits at CR LF; fails the test on a bare CR or LF or a missing final CR LF.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text does not end with CR LF: " << text.substr(start);
            break;
        }
        std::string line = text.substr(start, end - start);
        EXPECT_EQ(std::string::npos, line.find_first_of("\r\n")) << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

const char kSystem[] = "C:\\WINDOWS\\system32\\";

CRemovalBatchPaths Paths(const std::string& exe, const std::string& record = "") {
    CRemovalBatchPaths paths;
    paths.strExe = Text(exe);
    paths.strRecord = Text(record);
    paths.strPause = std::string(kSystem + std::string("ping.exe")).c_str();
    paths.strBatch = "C:\\DelUS.bat";
    return paths;
}

std::string Build(const CRemovalBatchPaths& paths, int passes) {
    CString text;
    EXPECT_TRUE(BuildRemovalBatchText(paths, passes, text)) << Bytes(paths.strExe);
    return Bytes(text);
}

std::string Build(const std::string& exe, int passes) {
    return Build(Paths(exe), passes);
}

}  // namespace

TEST(RemovalBatchText, LinesForTheInstalledProgram) {
    const std::string folder = "C:\\Program Files\\Kelvora\\Pindlemark";
    const std::vector<std::string> expected = {
        "setlocal enableextensions",
        "set DelUSPass=0",
        ":Repeat",
        "set /a DelUSPass+=1",
        "if %DelUSPass% GTR 120 goto Stop",
        "if %DelUSPass% GTR 1 \"C:\\WINDOWS\\system32\\ping.exe\" -n 2 127.0.0.1 >nul",
        "del \"" + folder + "\\Uninstall.exe\"",
        "if exist \"" + folder + "\\Uninstall.exe\" goto Repeat",
        "del /f /a \"" + folder + "\\Uninstall.log\"",
        "rmdir \"" + folder + "\"",
        ":Stop",
        "del \"C:\\DelUS.bat\"",
    };
    EXPECT_EQ(expected, Lines(Build(Paths(folder + "\\Uninstall.exe", folder + "\\Uninstall.log"),
                                    REMOVAL_BATCH_PASSES)));
    EXPECT_EQ(120, REMOVAL_BATCH_PASSES);

    // Without a record to delete, its line is left out and nothing else changes.
    std::vector<std::string> withoutRecord = expected;
    withoutRecord.erase(withoutRecord.begin() + 8);
    EXPECT_EQ(withoutRecord, Lines(Build(folder + "\\Uninstall.exe", REMOVAL_BATCH_PASSES)));
}

TEST(RemovalBatchText, FolderIsTheProgramsParent) {
    // The parent is cut at the last real backslash (PathText_test): here the program's name
    // ends in a GBK character whose trail byte is 0x5C.
    std::vector<std::string> lines = Lines(Build("C:\\dir\\\x95\x5C.exe", 1));
    ASSERT_EQ(11u, lines.size());
    EXPECT_EQ("rmdir \"C:\\dir\"", lines[8]);
}

TEST(RemovalBatchText, PercentSignsAreDoubled) {
    CRemovalBatchPaths paths =
        Paths("C:\\100%\\a%PATH%b\\Uninstall.exe", "C:\\100%\\a%PATH%b\\Uninstall.log");
    paths.strPause = "C:\\W%\\ping.exe";
    std::vector<std::string> lines = Lines(Build(paths, 3));
    ASSERT_EQ(12u, lines.size());
    EXPECT_EQ("if %DelUSPass% GTR 1 \"C:\\W%%\\ping.exe\" -n 2 127.0.0.1 >nul", lines[5]);
    EXPECT_EQ("del \"C:\\100%%\\a%%PATH%%b\\Uninstall.exe\"", lines[6]);
    EXPECT_EQ("if exist \"C:\\100%%\\a%%PATH%%b\\Uninstall.exe\" goto Repeat", lines[7]);
    EXPECT_EQ("del /f /a \"C:\\100%%\\a%%PATH%%b\\Uninstall.log\"", lines[8]);
    EXPECT_EQ("rmdir \"C:\\100%%\\a%%PATH%%b\"", lines[9]);
}

TEST(RemovalBatchText, RefusesWhatCannotBeQuotedOrHasNoFolder) {
    const std::string refused[] = {
        "Uninstall.exe",
        "dir\\Uninstall.exe",
        "\\dir\\Uninstall.exe",
        "C:dir\\Uninstall.exe",
        "",
        "C:\\a\"b\\Uninstall.exe",
        "C:\\a\r\nrmdir C:\\x\\Uninstall.exe",
        "C:\\a\nb\\Uninstall.exe",
        std::string("C:\\a\0b\\Uninstall.exe", 20),
    };
    for (const std::string& badPath : refused) {
        // As the program's path, and as each of the other paths beside a good one.
        CRemovalBatchPaths paths[4] = {Paths(badPath),
                                       Paths("C:\\a\\u.exe", badPath.empty() ? "\"" : badPath),
                                       Paths("C:\\a\\u.exe"), Paths("C:\\a\\u.exe")};
        paths[2].strPause = Text(badPath);
        paths[3].strBatch = Text(badPath);
        for (const CRemovalBatchPaths& bad : paths) {
            CString text("left over");
            EXPECT_FALSE(BuildRemovalBatchText(bad, 10, text)) << badPath;
            EXPECT_TRUE(text.IsEmpty());
        }
    }
    CString text;
    EXPECT_FALSE(BuildRemovalBatchText(Paths("C:\\a\\u.exe"), 0, text));
    EXPECT_FALSE(BuildRemovalBatchText(Paths("C:\\a\\u.exe"), -1, text));
}

TEST(RemovalBatchText, LongestPathsFitTheBuffer) {
    // Every path the narrow functions give is at most 259 bytes.
    const std::string folder = "C:\\" + std::string(245, 'd');
    const std::string exe = folder + "\\" + "Uninst.exe";
    ASSERT_EQ(259u, exe.size());
    CRemovalBatchPaths longest = Paths(exe, folder + "\\Uninst.log");
    longest.strPause = Text("C:\\" + std::string(247, 's') + "\\ping.exe");
    longest.strBatch = Text("\\\\" + std::string(247, 'u') + "\\DelUS.bat");
    std::string text = Build(longest, REMOVAL_BATCH_PASSES);
    EXPECT_LT(text.size(), static_cast<size_t>(REMOVAL_BATCH_TEXT_LIMIT));
    EXPECT_EQ(12u, Lines(text).size());

    // Even paths of percent signs only, each of them doubled, fit.
    const std::string percentFolder = "C:\\" + std::string(250, '%');
    CRemovalBatchPaths percent = Paths(percentFolder + "\\u.exe", percentFolder + "\\u.log");
    percent.strPause = Text(percentFolder + "\\p.exe");
    percent.strBatch = Text(percentFolder + "\\b.bat");
    CString out;
    EXPECT_TRUE(BuildRemovalBatchText(percent, REMOVAL_BATCH_PASSES, out));
    EXPECT_LT(out.GetLength(), REMOVAL_BATCH_TEXT_LIMIT);

    // A text over the limit is refused whole, never cut: find the longest folder that still
    // fits, one more byte must not.
    std::string fit;
    for (int n = 1; n < 2000; ++n) {
        const std::string tried = "C:\\" + std::string(static_cast<size_t>(n), '%');
        CString triedText;
        if (!BuildRemovalBatchText(Paths(tried + "\\u.exe", tried + "\\u.log"), REMOVAL_BATCH_PASSES,
                                   triedText))
            break;
        EXPECT_LT(triedText.GetLength(), REMOVAL_BATCH_TEXT_LIMIT);
        fit = Bytes(triedText);
    }
    EXPECT_GE(fit.size(), static_cast<size_t>(REMOVAL_BATCH_TEXT_LIMIT) - 8)
        << "the limit stops the text, not something else";
}

TEST(RemovalBatchText, CommandWaitsForTheInputsEndThenRunsTheBatch) {
    CString command("left over");
    ASSERT_TRUE(BuildRemovalBatchCommand("C:\\WINDOWS\\system32\\cmd.exe", "C:\\DelUS.bat", command));
    EXPECT_EQ("\"C:\\WINDOWS\\system32\\cmd.exe\" /d /e:on /s /c \"set /p DelUSWait=& \"C:\\DelUS.bat\"\"",
              Bytes(command));

    // A '%' would expand on the command line, where it cannot be escaped.
    const std::pair<std::string, std::string> refused[] = {
        {"", "C:\\DelUS.bat"},
        {"cmd.exe", "C:\\DelUS.bat"},
        {"C:\\WINDOWS\\system32\\cmd.exe", "\\DelUS.bat"},
        {"C:\\a\"b\\cmd.exe", "C:\\DelUS.bat"},
        {"C:\\a\nb\\cmd.exe", "C:\\DelUS.bat"},
        {"C:\\" + std::string(REMOVAL_BATCH_COMMAND_LIMIT, 'd') + "\\cmd.exe", "C:\\DelUS.bat"},
        {"C:\\WINDOWS\\system32\\cmd.exe", ""},
        {"C:\\WINDOWS\\system32\\cmd.exe", "\\\\srv\\a%PATH%\\DelUS.bat"},
        {"C:\\WINDOWS\\system32\\cmd.exe", "C:\\a\"\\DelUS.bat"},
    };
    for (const auto& row : refused) {
        command = "left over";
        EXPECT_FALSE(BuildRemovalBatchCommand(Text(row.first), Text(row.second), command))
            << row.first << " " << row.second;
        EXPECT_TRUE(command.IsEmpty());
    }
    // A system folder and a batch path of MAX_PATH - 1 bytes each still fit.
    std::string longestCommand = "C:\\" + std::string(259 - 11, 'd') + "\\cmd.exe";
    ASSERT_EQ(259u, longestCommand.size());
    std::string longBatch = "\\\\" + std::string(259 - 12, 'u') + "\\DelUS.bat";
    ASSERT_EQ(259u, longBatch.size());
    EXPECT_TRUE(BuildRemovalBatchCommand(Text(longestCommand), Text(longBatch), command));
}
