// Self-removal for real: a program copied into a folder writes and starts "\DelUS.bat" and exits;
// the batch, run by the real command interpreter, deletes the program, its folder if empty, and
// itself.
#include <windows.h>

#include <gtest/gtest.h>
#include <sddl.h>
#include <stdio.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "ReplayHarness.h"
#include "support/RunningProgram.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"
#include "uninstall/RemovalBatchText.h"

namespace {

const char PROBE[] = "RemovalProbe.exe";

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
        RunningProgram probe(strExe, m_temp->Path(), strArgs);
        DWORD dwCode = 0xFFFFFFFF;
        EXPECT_TRUE(probe.Started());
        EXPECT_TRUE(probe.WaitForExit(30000, &dwCode)) << "the probe did not end";
        if (pEnded) *pEnded = GetTickCount();
        return dwCode;
    }

    std::string ReadBatchText() {
        std::string strText;
        return ReadBytes(m_strBatch, strText) ? strText : std::string();
    }

    std::unique_ptr<TempFolder> m_temp;
    std::unique_ptr<CCurrentFolder> m_current;
    std::string m_strBatch;
};

std::string SidText(const void* pSid) {
    char* pszText = NULL;
    if (!ConvertSidToStringSidA(const_cast<void*>(pSid), &pszText)) return "?";
    std::string strText = pszText;
    LocalFree(pszText);
    return strText;
}

std::vector<BYTE> CurrentUserSid() {
    std::vector<BYTE> user(512);
    HANDLE hToken = NULL;
    DWORD dwSize = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken)) return user;
    GetTokenInformation(hToken, TokenUser, user.data(), static_cast<DWORD>(user.size()), &dwSize);
    CloseHandle(hToken);
    const PSID pSid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    return std::vector<BYTE>(static_cast<BYTE*>(pSid), static_cast<BYTE*>(pSid) + GetLengthSid(pSid));
}

// "allow S-1-5-18 001f01ff": the kind, the account and the access of an entry; "inherited" when
// the entry came from the folder.
std::string DescribeAce(const ACCESS_ALLOWED_ACE* pAce) {
    std::string strText = pAce->Header.AceType == ACCESS_ALLOWED_ACE_TYPE ? "allow " : "other ";
    strText += SidText(&pAce->SidStart);
    char szMask[16];
    snprintf(szMask, sizeof szMask, " %08lx", pAce->Mask);
    strText += szMask;
    if (pAce->Header.AceFlags & INHERITED_ACE) strText += " inherited";
    return strText;
}

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
    char szSystem[MAX_PATH];
    ASSERT_NE(GetSystemDirectoryA(szSystem, MAX_PATH), 0u);
    CRemovalBatchPaths paths;
    paths.strExe = strExe.c_str();
    paths.strPause = (std::string(szSystem) + "\\ping.exe").c_str();
    paths.strBatch = m_strBatch.c_str();
    CString strExpected;
    ASSERT_TRUE(BuildRemovalBatchText(paths, nPasses, strExpected));
    EXPECT_EQ(strOnDisk, std::string(strExpected, strExpected.GetLength()));

    EXPECT_TRUE(WaitUntil([&] { return !FileExists(m_strBatch); }, 60000)) << "the batch never gave up";
    DWORD dwElapsed = GetTickCount() - dwEnded;
    EXPECT_GE(dwElapsed, static_cast<DWORD>(nPasses - 1) * 900)
        << "each pass after the end waits about a second";
    EXPECT_LT(dwElapsed, static_cast<DWORD>(nPasses) * 1000 + 20000);
    EXPECT_TRUE(FileExists(strExe));
    EXPECT_TRUE(FileExists(strFolder));
    SetFileAttributesA(strExe.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RemovalBatch, PlantedPingIsNeverRunAndTheRecordGoesWithTheProgram) {
    // A "ping" that the batch would find by its bare name, in the drive root and in the folder
    // the uninstaller was started from: it would run elevated, and, called from the batch without
    // "call", never come back.
    const std::string strMarker = m_temp->Path() + "planted-ran.txt";
    const std::string strPlant = "@echo ran>\"" + strMarker + "\"\r\n";
    const std::vector<std::string> plants = {"C:\\ping.bat", "C:\\ping.cmd", m_temp->Path() + "ping.bat",
                                             m_temp->Path() + "ping.cmd"};
    for (const std::string& strPlanted : plants) ASSERT_TRUE(WriteBytes(strPlanted, strPlant)) << strPlanted;
    const std::string strFolder = m_temp->Path() + "held";
    const std::string strExe = PlaceProbe(strFolder);
    const std::string strRecord = strFolder + "\\Uninstall.log";
    ASSERT_TRUE(WriteBytes(strRecord, "File Copy: x\r\n"));
    ASSERT_TRUE(SetFileAttributesA(strRecord.c_str(), FILE_ATTRIBUTE_HIDDEN));

    // Kept undeletable past the program's end, so that the batch pauses once before its next try.
    HANDLE hHeld = CreateFileA(strExe.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
    EXPECT_EQ(RunProbe(strExe, "5 0 " + strRecord), 0u);
    Sleep(1500);
    CloseHandle(hHeld);

    EXPECT_TRUE(WaitUntil([&] { return !FileExists(m_strBatch); }, 60000)) << "the batch did not end";
    EXPECT_FALSE(FileExists(strMarker)) << "a planted ping ran";
    EXPECT_FALSE(FileExists(strExe));
    EXPECT_FALSE(FileExists(strRecord)) << "the hidden record stayed";
    EXPECT_FALSE(FileExists(strFolder));
    for (const std::string& strPlanted : plants) DeleteFileA(strPlanted.c_str());
}

TEST_F(RemovalBatch, OnlySystemAndAdministratorsMayChangeTheBatch) {
    // A batch file already there, which anyone may change (no access list at all), is not reused:
    // a file keeps its own access rights when it is opened again.
    SECURITY_DESCRIPTOR open;
    ASSERT_TRUE(InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&open, TRUE, NULL, FALSE));
    SECURITY_ATTRIBUTES sa = {sizeof sa, &open, FALSE};
    HANDLE hOld = CreateFileA(m_strBatch.c_str(), GENERIC_WRITE, 0, &sa, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(hOld, INVALID_HANDLE_VALUE);
    CloseHandle(hOld);

    const std::string strExe = PlaceProbe(m_temp->Path() + "acl");
    RunningProgram probe(strExe, m_temp->Path(), "3 4000");
    ASSERT_TRUE(WaitUntil([&] { return ReadBatchText().find(strExe) != std::string::npos; }, 20000))
        << "the batch was not written";

    std::vector<BYTE> sd(4096);
    DWORD dwNeeded = 0;
    ASSERT_TRUE(GetFileSecurityA(m_strBatch.c_str(), DACL_SECURITY_INFORMATION | OWNER_SECURITY_INFORMATION,
                                 sd.data(), static_cast<DWORD>(sd.size()), &dwNeeded))
        << GetLastError();
    BOOL bPresent = FALSE, bDefaulted = FALSE;
    PACL pDacl = NULL;
    ASSERT_TRUE(GetSecurityDescriptorDacl(sd.data(), &bPresent, &pDacl, &bDefaulted));
    ASSERT_TRUE(bPresent && pDacl != NULL) << "no access list: anyone may change the batch";
    PSID pOwner = NULL;
    ASSERT_TRUE(GetSecurityDescriptorOwner(sd.data(), &pOwner, &bDefaulted));

    // SYSTEM and the Administrators, and no one else. Wine keeps a file's access as Unix modes
    // and gives it back as entries for SYSTEM and the owner (this elevated test program's own
    // user), so the owner stands in for the Administrators there; the owner is this program's.
    const std::string strMe = SidText(CurrentUserSid().data());
    const std::vector<std::string> allowed = {"S-1-5-18", "S-1-5-32-544", strMe};
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), SidText(pOwner)), allowed.end())
        << "owned by " << SidText(pOwner);
    ASSERT_GT(pDacl->AceCount, 0u);
    for (DWORD i = 0; i < pDacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* pAce = NULL;
        ASSERT_TRUE(GetAce(pDacl, i, reinterpret_cast<void**>(&pAce)));
        const std::string strEntry = DescribeAce(pAce);
        const std::string strSid = SidText(&pAce->SidStart);
        EXPECT_TRUE(pAce->Header.AceType == ACCESS_ALLOWED_ACE_TYPE) << strEntry;
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), strSid), allowed.end())
            << "an entry for others: " << strEntry;
        EXPECT_EQ(pAce->Header.AceFlags & INHERITED_ACE, 0) << "inherited from the drive root: " << strEntry;
    }
    EXPECT_TRUE(probe.WaitForExit(30000));
}
