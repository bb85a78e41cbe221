// The restart list that Setup clears of its folder's deletions and of the renames into it: what
// goes, what stays, which temporary files go with their renames, and lists that do not parse.
#include "record/RestartRemovals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/native/WideLists.h"

namespace {

const std::u16string kFolder = u"C:\\Program Files\\Kelvora\\Pindlemark";

}  // namespace

TEST(RestartRemovals, DeletionsInTheFolderGoAndEverythingElseStays) {
    struct Row {
        const char* what;
        std::vector<std::u16string> before;
        std::vector<std::u16string> after;  // empty: nothing is left
    };
    const std::u16string exe = u"\\??\\C:\\Program Files\\Kelvora\\Pindlemark\\Uninstall.exe";
    const std::u16string other = u"\\??\\C:\\Other\\x.dll";
    const Row rows[] = {
        {"the uninstaller, its record and the folder",
         {exe, u"", u"\\??\\c:\\program files\\kelvora\\pindlemark\\Uninstall.log", u"",
          u"\\??\\C:\\Program Files\\Kelvora\\Pindlemark", u""},
         {}},
        {"another program's deletion stays, in order",
         {other, u"", exe, u"", other + u"2", u""},
         {other, u"", other + u"2", u""}},
        {"a rename out of the folder stays", {exe, u"\\??\\C:\\kept.exe"}, {exe, u"\\??\\C:\\kept.exe"}},
        {"a replacing rename keeps its '!'",
         {other, u"!\\??\\C:\\y.dll", exe, u""},
         {other, u"!\\??\\C:\\y.dll"}},
        {"a sibling whose name only begins like the folder",
         {u"\\??\\C:\\Program Files\\Kelvora\\Pindlemark2\\a", u""},
         {u"\\??\\C:\\Program Files\\Kelvora\\Pindlemark2\\a", u""}},
        {"the folder's parent",
         {u"\\??\\C:\\Program Files\\Kelvora", u""},
         {u"\\??\\C:\\Program Files\\Kelvora", u""}},
        {"a source without the prefix", {u"C:\\Program Files\\Kelvora\\Pindlemark\\a.txt", u""}, {}},
        {"a Chinese name below the folder",
         {u"\\??\\C:\\Program Files\\Kelvora\\Pindlemark\\\x83DC\x5355.mnu", u""},
         {}},
        {"an earlier Setup's replacement of a file in use goes",
         {exe + u".pmnew", u"!" + exe, other, u""},
         {other, u""}},
        {"a rename into the folder from elsewhere goes too",
         {other, u"\\??\\C:\\Program Files\\Kelvora\\Pindlemark\\x.dll"},
         {}},
        {"a rename into a sibling stays",
         {exe, u"!\\??\\C:\\Program Files\\Kelvora\\Pindlemark2\\x.dll"},
         {exe, u"!\\??\\C:\\Program Files\\Kelvora\\Pindlemark2\\x.dll"}},
    };
    for (const Row& row : rows) {
        const std::u16string expected = row.after.empty() ? std::u16string() : WideList(row.after);
        EXPECT_EQ(ShownList(WithoutRemovalsUnder(WideList(row.before), kFolder)), ShownList(expected))
            << row.what;
    }
}

TEST(RestartRemovals, ListsThatDoNotParseComeBackAsTheyWere) {
    const std::u16string exe = u"C:\\Program Files\\Kelvora\\Pindlemark\\Uninstall.exe";
    const std::u16string unparsed[] = {
        exe,                                           // no NUL at all
        exe + u'\0' + u"C:\\a" + u'\0' + u"C:\\b",     // a last text without its NUL
        exe + u'\0' + u"C:\\a" + u'\0' + exe + u'\0',  // an odd count, each text ended, no closing NUL
    };
    for (const std::u16string& list : unparsed)
        EXPECT_EQ(ShownList(WithoutRemovalsUnder(list, kFolder)), ShownList(list));

    // The last pair's empty target may be written as the list's own end.
    const std::u16string shortEnd = std::u16string(u"C:\\Other") + u'\0' + u"" + u'\0' + exe + u'\0' + u'\0';
    EXPECT_EQ(ShownList(WithoutRemovalsUnder(shortEnd, kFolder)), ShownList(WideList({u"C:\\Other", u""})));
    EXPECT_EQ(ShownList(WithoutRemovalsUnder(std::u16string(), kFolder)), "");
}

TEST(RestartRemovals, OnlyTheFoldersOwnTemporaryFilesGoWithTheirRenames) {
    const std::u16string dll = u"C:\\Program Files\\Kelvora\\Pindlemark\\Controls\\Grid.ocx";
    const std::u16string arx = u"C:\\Program Files\\Kelvora\\Pindlemark\\Support\\Q.arx";
    const std::u16string list = WideList({
        u"\\??\\" + dll + u".pmnew", u"!\\??\\" + dll,       // ours: its source goes
        u"\\??\\C:\\Other\\x.dll", u"!\\??\\" + arx,         // into the folder, not ours
        u"\\??\\" + arx + u".pmnew", u"\\??\\C:\\Other\\y",  // out of the folder: stays
        u"\\??\\" + arx, u"",                                // a deletion
        arx + u".pmnew", u"!" + arx,                         // without the prefixes
    });
    const std::vector<std::u16string> sources = RenameSourcesInto(list, kFolder);
    ASSERT_EQ(sources.size(), 2u) << ShownList(list);
    EXPECT_EQ(ShownList(sources[0]), ShownList(dll + u".pmnew"));
    EXPECT_EQ(ShownList(sources[1]), ShownList(arx + u".pmnew"));
    EXPECT_TRUE(RenameSourcesInto(list.substr(0, 10), kFolder).empty()) << "a list that does not parse";
}
