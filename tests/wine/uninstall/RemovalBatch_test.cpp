// Self-removal for real: a program copied into a folder writes and starts "\DelUS.bat" and exits;
// the batch, run by the real command interpreter, deletes the program, its folder if empty, and
// itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>

#include "ReplayHarness.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "uninstall/RemovalBatchText.h"

namespace {

const char PROBE[] = "RemovalProbe.exe";

bool WaitUntil(const std::function<bool()>& condition, DWORD dwMilliseconds) {
    DWORD dwStart = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - dwStart >= dwMilliseconds) return false;
        Sleep(100);
    }
    return true;
}

class RemovalBatch : public ::testing::Test {
protected:
    void SetUp() override {
        m_temp.reset(new TempFolder("自删除"));
        // "\DelUS.bat" is relative to the current drive: under Wine, drive Z: is the host's "/".
        m_current.reset(new CCurrentFolder(m_temp->Path()));
        ASSERT_TRUE(m_current->IsSet());
        char szBatch[MAX_PATH];
        ASSERT_NE(GetFullPathNameA(REMOVAL_BATCH_PATH, MAX_PATH, szBatch, NULL), 0u);
        m_strBatch = szBatch;
        ASSERT_EQ(m_strBatch.substr(0, 3), "C:\\");
        DeleteFileA(m_strBatch.c_str());
    }

    void TearDown() override {
        // A batch still running is given its time, so that it never outlives the test's lock.
        if (!m_strBatch.empty()) WaitUntil([&] { return !FileExists(m_strBatch); }, 60000);
        m_current.reset();
        m_temp.reset();
    }

    // Copies the probe into strFolder as Uninstall.exe.
    std::string PlaceProbe(const std::string& strFolder) {
        CreateDirectoryA(strFolder.c_str(), NULL);
        std::string strExe = strFolder + "\\Uninstall.exe";
        EXPECT_TRUE(CopyFileA((TestProgramFolder() + PROBE).c_str(), strExe.c_str(), FALSE)) << strExe;
        return strExe;
    }

    // Runs the copy from the temporary folder (on drive C:) and waits for its end, which
    // *pEnded gets (GetTickCount) when given.
    DWORD RunProbe(const std::string& strExe, const std::string& strArgs = "", DWORD* pEnded = nullptr) {
        std::string strCommand = "\"" + strExe + "\"" + (strArgs.empty() ? "" : " " + strArgs);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessA(NULL, &strCommand[0], NULL, NULL, FALSE, 0, NULL, m_temp->Path().c_str(), &si, &pi)) {
            ADD_FAILURE() << "cannot start " << strExe << ": " << GetLastError();
            return 0xFFFFFFFF;
        }
        DWORD dwCode = 0xFFFFFFFE;
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0) << "the probe did not end";
        if (pEnded) *pEnded = GetTickCount();
        GetExitCodeProcess(pi.hProcess, &dwCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return dwCode;
    }

    std::unique_ptr<TempFolder> m_temp;
    std::unique_ptr<CCurrentFolder> m_current;
    std::string m_strBatch;
};

}  // namespace

TEST_F(RemovalBatch, RemovesTheProgramItsEmptyFolderAndItself) {
    const std::string strRootFile = "C:\\Filedelr.avi";
    const bool bRootFile = WriteBytes(strRootFile, "a user's video");
    const std::string strFolder = m_temp->Path() + "安装";
    const std::string strExe = PlaceProbe(strFolder);

    EXPECT_EQ(RunProbe(strExe), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(strExe); }, 60000)) << "the program is still there";
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(m_strBatch); }, 30000)) << "the batch did not end";
    EXPECT_FALSE(FileExists(strFolder));
    EXPECT_TRUE(FileExists(m_temp->Path())) << "only the program's own folder goes";
    if (bRootFile) {
        EXPECT_TRUE(FileExists(strRootFile)) << "the batch deleted a file of the drive root";
        DeleteFileA(strRootFile.c_str());
    }
}

TEST_F(RemovalBatch, FolderThatStillHoldsAFileStays) {
    const std::string strFolder = m_temp->Path() + "kept";
    const std::string strExe = PlaceProbe(strFolder);
    ASSERT_TRUE(WriteBytes(strFolder + "\\notes.txt", "the user's"));

    EXPECT_EQ(RunProbe(strExe, "5"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(m_strBatch); }, 60000)) << "the batch did not end";
    EXPECT_FALSE(FileExists(strExe));
    EXPECT_TRUE(FileExists(strFolder + "\\notes.txt"));
}

TEST_F(RemovalBatch, PercentSignsInTheFolderNameNameNothingElse) {
    // Unquoted, "%PM_DECOY%" would expand in the batch and name the decoy folder instead.
    ASSERT_TRUE(SetEnvironmentVariableA("PM_DECOY", "zz"));
    const std::string strFolder = m_temp->Path() + "a%PM_DECOY%b 100%";
    const std::string strDecoy = m_temp->Path() + "azzb 100";
    const std::string strExe = PlaceProbe(strFolder);
    PlaceProbe(strDecoy);

    EXPECT_EQ(RunProbe(strExe, "5"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(m_strBatch); }, 60000)) << "the batch did not end";
    SetEnvironmentVariableA("PM_DECOY", NULL);
    EXPECT_FALSE(FileExists(strExe));
    EXPECT_FALSE(FileExists(strFolder));
    EXPECT_TRUE(FileExists(strDecoy + "\\Uninstall.exe"));
}

TEST_F(RemovalBatch, WaitsForTheProgramLongerThanItsBoundAfterTheEnd) {
    // One pass after the end, about a second; the program stays five.
    const std::string strFolder = m_temp->Path() + "stays";
    const std::string strExe = PlaceProbe(strFolder);
    EXPECT_EQ(RunProbe(strExe, "1 5000"), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(m_strBatch); }, 30000)) << "the batch did not end";
    EXPECT_FALSE(FileExists(strExe)) << "the batch gave up while the program still ran";
    EXPECT_FALSE(FileExists(strFolder));
}

TEST_F(RemovalBatch, ProgramThatCannotBeDeletedEndsTheBatchWithinItsBound) {
    const int nPasses = 3;
    const std::string strFolder = m_temp->Path() + "readonly";
    const std::string strExe = PlaceProbe(strFolder);
    ASSERT_TRUE(SetFileAttributesA(strExe.c_str(), FILE_ATTRIBUTE_READONLY));

    DWORD dwEnded = 0;
    EXPECT_EQ(RunProbe(strExe, std::to_string(nPasses), &dwEnded), 0u);
    // While it retries, the batch on disk is exactly the text built for this program.
    std::string strOnDisk;
    ASSERT_TRUE(ReadBytes(m_strBatch, strOnDisk));
    CString strExpected;
    ASSERT_TRUE(BuildRemovalBatchText(strExe.c_str(), nPasses, strExpected));
    EXPECT_EQ(strOnDisk, std::string(strExpected, strExpected.GetLength()));

    EXPECT_TRUE(WaitUntil([&] { return !FileExists(m_strBatch); }, 60000)) << "the batch never gave up";
    DWORD dwElapsed = GetTickCount() - dwEnded;
    EXPECT_GE(dwElapsed, static_cast<DWORD>(nPasses - 1) * 900) << "each pass after the end waits about a second";
    EXPECT_LT(dwElapsed, static_cast<DWORD>(nPasses) * 1000 + 20000);
    EXPECT_TRUE(FileExists(strExe));
    EXPECT_TRUE(FileExists(strFolder));
    SetFileAttributesA(strExe.c_str(), FILE_ATTRIBUTE_NORMAL);
}
