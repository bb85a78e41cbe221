// Modules planted where the elevated programs must never look for one: beside Setup.exe in the
// folder it was started from, and, copied there as loose files, beside the installed
// Uninstall.exe. Each planted copy is LoadMarker.dll, which tells on every process that loads it.
#include <windows.h>

#include <gtest/gtest.h>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

namespace {

class DllSearch : public InstallStateTest {
protected:
    void SetUp() override {
        InstallStateTest::SetUp();
        ForgetSearchMarkers();
    }
    void TearDown() override {
        ForgetSearchMarkers();
        InstallStateTest::TearDown();
    }
};

bool Plant(const std::string& path) {
    return CopyFileA(LoadMarkerPath().c_str(), path.c_str(), FALSE) != FALSE;
}

bool SamePath(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// Wine takes its own comctl32 before a copy in the program's folder, where Windows, for which
// comctl32 is no known DLL, takes the copy. While this lives, Setup.exe and Uninstall.exe get
// Windows' order (Wine's per-program DLL overrides).
class CopiesOfComctl32First {
public:
    CopiesOfComctl32First() {
        for (const char* program : kPrograms)
            WriteRegString(HKEY_CURRENT_USER, Key(program), "comctl32", "native,builtin");
    }
    ~CopiesOfComctl32First() {
        for (const char* program : kPrograms)
            DeleteRegTree(HKEY_CURRENT_USER, std::string(kAppDefaults) + program);
    }
    CopiesOfComctl32First(const CopiesOfComctl32First&) = delete;
    CopiesOfComctl32First& operator=(const CopiesOfComctl32First&) = delete;

private:
    static std::string Key(const char* program) {
        return std::string(kAppDefaults) + program + "\\DllOverrides";
    }
    static constexpr const char* kAppDefaults = "Software\\Wine\\AppDefaults\\";
    static constexpr const char* kPrograms[] = {"Setup.exe", "Uninstall.exe"};
};

}  // namespace

// comctl32.dll is no known DLL: imported at load time, it would be taken from the program's
// folder before the program's first line runs.
TEST_F(DllSearch, AComctl32BesideTheProgramsIsNeverLoaded) {
    TempFolder disk("planted-comctl32");
    for (const char* program : {"Setup.exe", "Uninstall.exe"})
        ASSERT_TRUE(CopyFileA((DistFolder() + program).c_str(), (disk / program).c_str(), FALSE)) << program;
    const std::string planted = disk / "comctl32.dll";
    ASSERT_TRUE(Plant(planted));
    CopiesOfComctl32First asOnWindows;

    // Setup finds no install folders beside it and asks over its dialog, whose template holds the
    // common progress bar: the dialog exists only if System32's comctl32 registered the class.
    // Uninstall asks for its confirmation first.
    const struct {
        const char* program;
        const char* dialog;  // the program's dialog, shown under its question
        int answer;
    } runs[] = {{"Setup.exe", kSetupInstallingTitle, IDABORT}, {"Uninstall.exe", nullptr, IDNO}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.program);
        ForgetSearchMarkers();
        RunningProgram program(disk / run.program, disk.Path());
        ASSERT_TRUE(program.Started());
        HWND box = WaitForMessageBox(program.ProcessId(), 30000);
        EXPECT_EQ(LoadedBy(planted), "") << "the planted comctl32.dll was loaded";
        if (box == NULL) {
            ADD_FAILURE() << "the program never asked; " << CrashEvidence();
            continue;
        }
        if (run.dialog) {
            EXPECT_NE(FindProgramWindow(program.ProcessId(), run.dialog), nullptr) << "no dialog";
        }
        EXPECT_TRUE(PressButton(box, run.answer));
        EXPECT_TRUE(program.WaitForExit(15000));
    }
}

// A control that loads helpers by bare name while it registers and unregisters finds them in its
// own folder and in System32, never beside the program: SearchHelper.dll lies beside the control
// and beside the program, SearchPlanted.dll only beside the program. The control also imports
// SearchImport.dll, which only its own folder holds.
TEST_F(DllSearch, ControlsFindTheirHelpersBesideThemselvesNeverBesideTheProgram) {
    TempFolder disk("planted-helpers");
    BuildSampleAddOn(disk.Path());
    const std::string sourceControls = disk / "Controls\\";
    ASSERT_WIN32(CopyFileA(SearchControlPath().c_str(), (sourceControls + "Search.ocx").c_str(), FALSE));
    ASSERT_WIN32(CopyFileA(SearchImportPath().c_str(), (sourceControls + "SearchImport.dll").c_str(), FALSE));
    ASSERT_TRUE(Plant(sourceControls + "SearchHelper.dll"));
    for (const char* name : {"SearchHelper.dll", "SearchPlanted.dll"})
        ASSERT_TRUE(Plant(disk / name)) << name;

    const std::string target = InstallFolder();
    const std::string own = target + "Controls\\SearchHelper.dll";
    auto expectFoundBesideTheControl = [&](const char* entry) {
        const std::string helper = SearchControlFound(entry, "SearchHelper.dll");
        EXPECT_TRUE(SamePath(helper, own)) << entry << ": SearchHelper.dll came from \"" << helper << "\"";
        EXPECT_EQ(SearchControlFound(entry, "SearchPlanted.dll"), "not found") << entry;
    };
    const ProgramRun setup = RunSetup(disk.Path());
    ASSERT_TRUE(setup.completed) << "Setup showed no completion view; " << setup.crash;
    expectFoundBesideTheControl("DllRegisterServer");
    const ProgramRun uninstall = RunUninstall();
    ASSERT_TRUE(uninstall.completed) << "Uninstall showed no completion view; " << uninstall.crash;
    expectFoundBesideTheControl("DllUnregisterServer");
    for (const std::string& planted : {disk / "SearchHelper.dll", disk / "SearchPlanted.dll",
                                       target + "SearchHelper.dll", target + "SearchPlanted.dll"})
        EXPECT_EQ(LoadedBy(planted), "") << planted;
    EXPECT_TRUE(WaitForRemovalBatch());
}
