// The self-removal batch: its text, which is ASCII whatever the paths, the variables that carry
// the paths, the command that runs it, and the environment block the interpreter gets.
#include "uninstall/RemovalBatchText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/native/StringBytes.h"
#include "tests/native/WideLists.h"

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

const char kFolder[] = "C:\\Program Files\\Kelvora\\Pindlemark";

CRemovalBatchPaths Paths(const std::string& exe, const std::string& record = "") {
    CRemovalBatchPaths paths;
    paths.strExe = Text(exe);
    paths.strRecord = Text(record);
    paths.strPause = "C:\\WINDOWS\\system32\\ping.exe";
    paths.strBatch = "C:\\DelUS.bat";
    return paths;
}

struct Batch {
    std::vector<std::string> lines;
    std::vector<std::string> variables;
};

Batch Build(const CRemovalBatchPaths& paths, int passes) {
    CString text;
    CStringArray variables;
    EXPECT_TRUE(BuildRemovalBatch(paths, passes, text, variables)) << Bytes(paths.strExe);
    Batch batch;
    batch.lines = Lines(Bytes(text));
    for (int i = 0; i < variables.GetSize(); ++i) batch.variables.push_back(Bytes(variables[i]));
    return batch;
}

}  // namespace

TEST(RemovalBatchText, LinesAndVariablesForTheInstalledProgram) {
    const std::string exe = std::string(kFolder) + "\\Uninstall.exe";
    const std::string record = std::string(kFolder) + "\\Uninstall.log";
    const std::vector<std::string> expected = {
        "setlocal enableextensions enabledelayedexpansion",
        "set DelUSPass=0",
        ":Repeat",
        "set /a DelUSPass+=1",
        "if !DelUSPass! GTR 120 goto Stop",
        "if !DelUSPass! GTR 1 \"!DelUSPause!\" -n 2 127.0.0.1 >nul",
        "del \"!DelUSExe!\"",
        "if exist \"!DelUSExe!\" goto Repeat",
        "del /f /a \"!DelUSRecord!\"",
        "rmdir \"!DelUSFolder!\"",
        ":Stop",
        "del \"!DelUSBatch!\"",
    };
    const Batch batch = Build(Paths(exe, record), REMOVAL_BATCH_PASSES);
    EXPECT_EQ(expected, batch.lines);
    const std::vector<std::string> variables = {
        "DelUSPause=C:\\WINDOWS\\system32\\ping.exe", "DelUSExe=" + exe, "DelUSRecord=" + record,
        "DelUSFolder=" + std::string(kFolder), "DelUSBatch=C:\\DelUS.bat"};
    EXPECT_EQ(variables, batch.variables);
    EXPECT_EQ(120, REMOVAL_BATCH_PASSES);

    // Without a record to delete, its line and its variable are left out and nothing else changes.
    std::vector<std::string> withoutRecord = expected;
    withoutRecord.erase(withoutRecord.begin() + 8);
    std::vector<std::string> variablesWithoutRecord = variables;
    variablesWithoutRecord.erase(variablesWithoutRecord.begin() + 2);
    const Batch plain = Build(Paths(exe), REMOVAL_BATCH_PASSES);
    EXPECT_EQ(withoutRecord, plain.lines);
    EXPECT_EQ(variablesWithoutRecord, plain.variables);
}

TEST(RemovalBatchText, PathsOnlyInTheVariablesAsTheyAre) {
    // A GBK name whose trail byte is 0x5C, and '%' signs: the text stays the same ASCII, and the
    // folder is cut at the last real backslash.
    const std::string exe = "C:\\100%\\a%PATH%b\\\x95\x5C\\Uninstall.exe";
    const Batch batch = Build(Paths(exe, "C:\\100%\\r.log"), 3);
    const Batch reference = Build(Paths("C:\\x\\Uninstall.exe", "C:\\x\\r.log"), 3);
    EXPECT_EQ(reference.lines, batch.lines);
    ASSERT_EQ(5u, batch.variables.size());
    EXPECT_EQ("DelUSExe=" + exe, batch.variables[1]);
    EXPECT_EQ("DelUSFolder=C:\\100%\\a%PATH%b\\\x95\x5C", batch.variables[3]);
    for (const std::string& line : batch.lines)
        for (char ch : line) EXPECT_TRUE(static_cast<unsigned char>(ch) < 0x80) << line;
}

TEST(RemovalBatchText, RefusesPathsThatAreNotFullOrCannotBeQuoted) {
    const std::string refused[] = {
        "Uninstall.exe",
        "dir\\Uninstall.exe",
        "\\dir\\Uninstall.exe",
        "C:dir\\Uninstall.exe",
        "",
        "C:\\a\"b\\Uninstall.exe",
        "C:\\a\r\nrmdir C:\\x\\Uninstall.exe",
        "C:\\a\nb\\Uninstall.exe",
        "C:\\a!b\\Uninstall.exe",
        std::string("C:\\a\0b\\Uninstall.exe", 20),
    };
    for (const std::string& bad : refused) {
        // As the program's path, and as each of the other paths beside a good one.
        CRemovalBatchPaths paths[4] = {Paths(bad), Paths("C:\\a\\u.exe", bad.empty() ? "\"" : bad),
                                       Paths("C:\\a\\u.exe"), Paths("C:\\a\\u.exe")};
        paths[2].strPause = Text(bad);
        paths[3].strBatch = Text(bad);
        for (const CRemovalBatchPaths& candidate : paths) {
            CString text("left over");
            CStringArray variables;
            variables.Add("left over");
            EXPECT_FALSE(BuildRemovalBatch(candidate, 10, text, variables)) << bad;
            EXPECT_TRUE(text.IsEmpty());
            EXPECT_EQ(0, variables.GetSize());
        }
    }
    CString text;
    CStringArray variables;
    CRemovalBatchPaths percentBatch = Paths("C:\\a\\u.exe");
    percentBatch.strBatch = "\\\\srv\\a%PATH%\\DelUS.bat";
    EXPECT_FALSE(BuildRemovalBatch(percentBatch, 10, text, variables)) << "the command line expands a '%'";
    EXPECT_FALSE(BuildRemovalBatch(Paths("C:\\a\\u.exe"), 0, text, variables));
    EXPECT_FALSE(BuildRemovalBatch(Paths("C:\\a\\u.exe"), -1, text, variables));
}

TEST(RemovalBatchText, CommandWaitsForTheInputsEndThenRunsTheBatchItsVariableNames) {
    CString command("left over");
    ASSERT_TRUE(BuildRemovalBatchCommand("C:\\WINDOWS\\system32\\cmd.exe", command));
    EXPECT_EQ("\"C:\\WINDOWS\\system32\\cmd.exe\" /d /e:on /s /c \"set /p DelUSWait=& \"%DelUSBatch%\"\"",
              Bytes(command));
    for (const std::string& bad : {std::string(""), std::string("cmd.exe"), std::string("C:\\a\"b\\cmd.exe"),
                                   std::string("C:\\a\nb\\cmd.exe")}) {
        command = "left over";
        EXPECT_FALSE(BuildRemovalBatchCommand(Text(bad), command)) << bad;
        EXPECT_TRUE(command.IsEmpty());
    }
}

TEST(RemovalBatchText, EnvironmentGetsTheVariablesSortedReplacingTheirNamesakes) {
    struct Row {
        const char* what;
        std::vector<std::u16string> before;
        std::vector<std::u16string> variables;
        std::vector<std::u16string> after;
    };
    const Row rows[] = {
        {"added and sorted, drive folders first",
         {u"=C:=C:\\w", u"Path=C:\\x", u"windir=C:\\W"},
         {u"DelUSExe=C:\\u.exe", u"DelUSBatch=C:\\DelUS.bat"},
         {u"=C:=C:\\w", u"DelUSBatch=C:\\DelUS.bat", u"DelUSExe=C:\\u.exe", u"Path=C:\\x", u"windir=C:\\W"}},
        {"a namesake of another case is replaced",
         {u"DELUSEXE=planted", u"Path=C:\\x"},
         {u"DelUSExe=C:\\u.exe"},
         {u"DelUSExe=C:\\u.exe", u"Path=C:\\x"}},
        {"an empty environment", {}, {u"DelUSExe=C:\\\x5378.exe"}, {u"DelUSExe=C:\\\x5378.exe"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ShownList(WideList(row.after)),
                  ShownList(WithVariables(WideList(row.before), row.variables)))
            << row.what;
    EXPECT_EQ(ShownList(WideList({u"A=1"})), ShownList(WithVariables(std::u16string(), {u"A=1"})))
        << "no block at all";
}
