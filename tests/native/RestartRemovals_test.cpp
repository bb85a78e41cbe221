// The restart list that Setup clears of its folder's deletions: what goes, what stays, and lists
// that do not parse.
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
        exe,                                        // no NUL at all
        exe + u'\0' + u"C:\\a" + u'\0' + u"C:\\b",  // a last text without its NUL
    };
    for (const std::u16string& list : unparsed)
        EXPECT_EQ(ShownList(WithoutRemovalsUnder(list, kFolder)), ShownList(list));

    // The last pair's empty target may be written as the list's own end.
    const std::u16string shortEnd = std::u16string(u"C:\\Other") + u'\0' + u"" + u'\0' + exe + u'\0' + u'\0';
    EXPECT_EQ(ShownList(WithoutRemovalsUnder(shortEnd, kFolder)), ShownList(WideList({u"C:\\Other", u""})));
    EXPECT_EQ(ShownList(WithoutRemovalsUnder(std::u16string(), kFolder)), "");
}
