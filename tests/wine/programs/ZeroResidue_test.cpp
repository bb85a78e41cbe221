// An install by the real Setup.exe and its removal by the real Uninstall.exe leave the machine as
// they found it: the files of drive C: and the keys and values of HKLM\SOFTWARE, HKCU\Software
// and HKEY_CLASSES_ROOT are the same before and after, but for what the design leaves on purpose.
#include <windows.h>

#include <gtest/gtest.h>

#include "ProgramRuns.h"
#include "SampleAddOn.h"
#include "Snapshot.h"
#include "support/GbkText.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "support/Win32Check.h"

namespace {

class ZeroResidue : public InstallStateTest {};

}  // namespace

TEST_F(ZeroResidue, InstallThenUninstallLeavesOnlyWhatIsMeantToStay) {
    // Installed CAD releases, as CAD itself registers them: one with the loader keys (R15.0), one
    // of the machine and one known to the current user only.
    AddCadRelease(HKEY_LOCAL_MACHINE, "R15.0", "ACAD-1:804");
    AddCadRelease(HKEY_LOCAL_MACHINE, "R16.2", "ACAD-4001:804");
    AddCadRelease(HKEY_CURRENT_USER, "R17.0", "ACAD-5001:804");
    TempFolder disk("zero-residue");
    BuildSampleAddOn(disk.Path());
    // Wine's own hhctrl.ocx, which the sample add-on borrows as a control, unregisters the
    // prefix's own help classes when asked to: that is its doing, not the programs'.
    ASSERT_WIN32(DeleteFileW(Wide(disk / "Controls\\hhctrl.ocx").c_str()));

    DWORD snapshotStart = GetTickCount();
    const Snapshot before = TakeSnapshot();
    const DWORD snapshotMs = GetTickCount() - snapshotStart;
    ASSERT_GT(before.size(), 1000u);

    ProgramRun setup = RunSetup(disk.Path());
    ASSERT_TRUE(setup.completed && setup.exited) << setup.milliseconds << " ms";
    ASSERT_TRUE(setup.boxes.empty()) << setup.boxes[0];
    // The install did reach everything that must go again.
    const Snapshot installed = TakeSnapshot();
    EXPECT_GT(installed.size(), before.size() + 20) << "the install left no trace to remove";
    EXPECT_TRUE(installed.count(L"HKLM\\" + WideText(PRODUCT_KEY)));

    ProgramRun uninstall = RunUninstall();
    ASSERT_TRUE(uninstall.completed && uninstall.exited) << uninstall.milliseconds << " ms";
    ASSERT_TRUE(WaitForRemovalBatch()) << "the removal batch did not end";
    ASSERT_TRUE(WaitUntil([] { return !FileExists(InstallFolder()); }, 30000)) << "the install folder stayed";

    const Snapshot after = TakeSnapshot();
    const std::string differences = Differences(before, after);
    EXPECT_TRUE(differences.empty()) << "what the install and the uninstall changed:\n" << differences;
    // The intended leftovers are there, so the exceptions above hide nothing else.
    EXPECT_TRUE(after.count(L"HKLM\\SOFTWARE\\Kelvora\\Pindlemark"));
    EXPECT_TRUE(after.count(L"C:\\Program Files\\Kelvora"));
    printf("zero residue: %zu entries, snapshot in %lu ms\n", before.size(), snapshotMs);
    RecordProperty("snapshot_ms", static_cast<int>(snapshotMs));
}
