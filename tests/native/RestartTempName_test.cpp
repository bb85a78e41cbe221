// The temporary file beside a file in use that the next restart puts in its place: the same name
// on every run, beside the target, and never a path the narrow file functions cannot take.
#include "record/RestartTempName.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/native/StringBytes.h"

namespace {

const int kLongest = 259;  // MAX_PATH without its NUL
const std::string kFolder = "C:\\Program Files\\Kelvora\\Pindlemark\\Support\\";

// kFolder + a name that makes the whole path `length` bytes long.
std::string TargetOfLength(size_t length, char fill = 'n') {
    return kFolder + std::string(length - kFolder.size() - 4, fill) + ".arx";
}

}  // namespace

TEST(RestartTempName, ANameThatFitsGetsTheSuffix) {
    EXPECT_EQ(Bytes(RestartTempPath((kFolder + "Quorrel.arx").c_str())), kFolder + "Quorrel.arx.pmnew");
    // A GBK name whose last trail byte is that of '\': still one name in the same folder.
    EXPECT_EQ(Bytes(RestartTempPath((kFolder + "\x95\x5C").c_str())), kFolder + "\x95\x5C.pmnew");
    const std::string longest = TargetOfLength(kLongest - 6);
    EXPECT_EQ(Bytes(RestartTempPath(longest.c_str())), longest + ".pmnew");
}

TEST(RestartTempName, ATooLongNameGetsAShortNameOfItsOwnInTheSameFolder) {
    const std::string a = TargetOfLength(kLongest - 5, 'a');
    const std::string b = TargetOfLength(kLongest - 5, 'b');
    const std::string shortA = Bytes(RestartTempPath(a.c_str()));
    ASSERT_EQ(shortA.size(), kFolder.size() + 15) << shortA;
    EXPECT_EQ(shortA.substr(0, kFolder.size() + 3), kFolder + "~pm") << shortA;
    EXPECT_EQ(shortA.substr(shortA.size() - 4), ".new") << shortA;
    EXPECT_EQ(Bytes(RestartTempPath(a.c_str())), shortA) << "the same on every run";
    EXPECT_NE(Bytes(RestartTempPath(b.c_str())), shortA) << "another file's temporary file";

    // The folder ends at the last separator character, not at a trail byte 0x5C of a GBK name.
    const std::string gbk =
        kFolder + std::string(kLongest - kFolder.size() - 2, '\x95').substr(1) + "\x95\x5C";
    const std::string shortGbk = Bytes(RestartTempPath(gbk.c_str()));
    EXPECT_EQ(shortGbk.substr(0, kFolder.size() + 3), kFolder + "~pm") << shortGbk;
}

TEST(RestartTempName, NoneWhenNotEvenTheShortNameFits) {
    const std::string folder = "C:\\" + std::string(kLongest - 3 - 1 - 10, 'f') + "\\";
    EXPECT_EQ(Bytes(RestartTempPath((folder + "x.arx").c_str())), "");
    EXPECT_EQ(Bytes(RestartTempPath("Quorrel.arx")), "") << "a name without its folder";
}
