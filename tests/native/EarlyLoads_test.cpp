// The DLLs that the programs load by full path before anything can load them by bare name, where
// the system cannot limit the search to System32.
#include "framework/EarlyLoads.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace {

// Each DLL that a system DLL or a control's registration loads by bare name after start-up, and
// what loads it; none is a known DLL, so a copy beside the program would come first.
const struct {
    const char* dll;
    const char* loadedBy;
} kBareNameLoads[] = {
    {"uxtheme.dll", "user32 and comctl32, for themed windows"},
    {"version.dll", "the shell and OLE, reading version resources"},
    {"userenv.dll", "advapi32 and the shell, for profiles"},
    {"propsys.dll", "the shell (Vista on)"},
    {"dwmapi.dll", "uxtheme and comctl32 (Vista on)"},
    {"cryptbase.dll", "advapi32 (7 on)"},
    {"profapi.dll", "userenv and shell32 (7 on)"},
    {"secur32.dll", "advapi32's account calls"},
    {"ntmarta.dll", "advapi32's access lists"},
    {"apphelp.dll", "the loader's compatibility checks"},
    {"oleacc.dll", "comctl32's accessibility"},
    {"clbcatq.dll", "OLE's class catalogue, as a control registers"},
    {"msctf.dll", "user32's text services"},
    {"imm32.dll", "user32's input methods"},
};

}  // namespace

TEST(EarlyLoads, EveryBareNameLoadIsLoadedEarlyAndNoKnownDllIs) {
    std::set<std::string> listed;
    for (int i = 0; i < EARLY_LOADED_DLL_COUNT; ++i) {
        const std::string name = EARLY_LOADED_DLLS[i];
        EXPECT_TRUE(listed.insert(name).second) << name << " is listed twice";
        EXPECT_EQ(name.find_first_of("\\/:"), std::string::npos) << name << ": a name, joined to System32";
    }
    for (const auto& load : kBareNameLoads)
        EXPECT_EQ(listed.count(load.dll), 1u)
            << load.dll << " (loaded by " << load.loadedBy << ") is not loaded early";

    // A known DLL comes from System32 anyway: listing one means the two lists disagree.
    std::ifstream known(PM_KNOWN_DLLS);
    ASSERT_TRUE(known.good()) << "cannot read " << PM_KNOWN_DLLS;
    std::string line;
    int knownCount = 0;
    while (std::getline(known, line)) {
        if (line.empty() || line[0] == '#') continue;
        ++knownCount;
        EXPECT_EQ(listed.count(line), 0u) << line << " is a known DLL and needs no early load";
    }
    EXPECT_GT(knownCount, 0) << "no known DLL read from " << PM_KNOWN_DLLS;
}
