// The grain comes from rand() without a seed: every run of a program shows the same faces.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "FaceDump.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/WindowTestSupport.h"

namespace {

DWORD RunFaceDump(const std::string& output) {
    RunningProgram dump(TestProgramFolder() + "controls_face_dump.exe", "", "\"" + output + "\"");
    DWORD code = 1000;
    EXPECT_TRUE(dump.WaitForExit(60000, &code)) << "the face dump did not end";
    return code;
}

}  // namespace

TEST(TexturedButtonFaces, TwoRunsShowTheSameFacesAsTheDefaultSeed) {
    TempFolder folder("faces");
    ASSERT_EQ(0u, RunFaceDump(folder / "first.bin"));
    ASSERT_EQ(0u, RunFaceDump(folder / "second.bin"));
    std::string first, second;
    ASSERT_TRUE(ReadBytes(folder / "first.bin", first));
    ASSERT_TRUE(ReadBytes(folder / "second.bin", second));
    EXPECT_EQ(2u * 72 * 23 * 4, first.size());
    EXPECT_TRUE(first == second) << "two runs, two different pictures";

    // The C library starts unseeded programs as if seeded with 1.
    SetCursorPos(0, 0);
    TestParent parent(300, 200);
    std::srand(1);
    std::string here;
    ASSERT_TRUE(DumpDialogButtonFaces(parent, here));
    EXPECT_TRUE(here == first);
    std::srand(2);
    std::string other;
    TestParent parent2(300, 200, 40, 300);
    ASSERT_TRUE(DumpDialogButtonFaces(parent2, other));
    EXPECT_FALSE(other == first) << "the grain shows in the faces";
}
