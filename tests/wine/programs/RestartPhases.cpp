#include "RestartPhases.h"

#include <gtest/gtest.h>

#include "SampleAddOn.h"
#include "support/GbkText.h"
#include "support/Registry.h"
#include "support/TempFolder.h"
#include "support/TestFiles.h"

const char kRunOnceKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

namespace {

const char kSessionManagerKey[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const DWORD kHoldBound = 30000;

std::string Folded(std::string text) {
    for (char& ch : text) {
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
    return text;
}

std::string WithoutPrefixes(std::string text) {
    if (!text.empty() && text[0] == '!') text.erase(0, 1);
    if (text.compare(0, 4, "\\??\\") == 0) text.erase(0, 4);
    return text;
}

}  // namespace

std::string HoldUntilRestart(const std::vector<std::string>& paths) {
    const std::wstring eventName = Wide(UniqueName("pm-held-"));
    HANDLE ready = CreateEventW(NULL, TRUE, FALSE, eventName.c_str());
    if (ready == NULL) return "CreateEventW: error " + std::to_string(GetLastError());
    std::wstring command = L"\"" + Wide(TestProgramFolder() + "HoldFiles.exe") + L"\" " + eventName;
    for (const std::string& path : paths) command += L" \"" + Wide(path) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, NULL, &startup,
                        &info)) {
        const DWORD error = GetLastError();
        CloseHandle(ready);
        return "CreateProcessW HoldFiles.exe: error " + std::to_string(error);
    }
    CloseHandle(info.hThread);
    HANDLE waits[] = {ready, info.hProcess};
    const DWORD wait = WaitForMultipleObjects(2, waits, FALSE, kHoldBound);
    std::string result;
    if (wait != WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        result = wait == WAIT_OBJECT_0 + 1 ? "HoldFiles.exe ended with " + std::to_string(code)
                                           : "HoldFiles.exe held nothing within the bound";
        TerminateProcess(info.hProcess, 1);
    }
    CloseHandle(info.hProcess);
    CloseHandle(ready);
    return result;
}

std::vector<std::string> PendingRenames() {
    const RegValue value =
        ReadRegValue(HKEY_LOCAL_MACHINE, kSessionManagerKey, "PendingFileRenameOperations");
    std::vector<std::string> texts;
    if (value.type != REG_MULTI_SZ) return texts;
    size_t start = 0;
    while (start < value.data.size()) {
        const size_t nul = value.data.find('\0', start);
        const size_t end = nul == std::string::npos ? value.data.size() : nul;
        texts.push_back(value.data.substr(start, end - start));
        start = end + 1;
    }
    while (texts.size() % 2 == 1 ||
           (texts.size() >= 2 && texts.back().empty() && texts[texts.size() - 2].empty()))
        texts.pop_back();
    return texts;
}

int PendingPairIndex(const std::vector<std::string>& pending, const std::string& path,
                     const std::string& target) {
    for (size_t i = 0; i + 1 < pending.size(); i += 2) {
        if (Folded(pending[i]) == Folded("\\??\\" + path) &&
            Folded(WithoutPrefixes(pending[i + 1])) == Folded(target))
            return static_cast<int>(i / 2);
    }
    return -1;
}

void ExpectRunWithNotice(const ProgramRun& run, const std::string& notice) {
    EXPECT_TRUE(run.started);
    EXPECT_TRUE(run.completed) << "no completion view after " << run.milliseconds << " ms";
    EXPECT_TRUE(run.exited) << "still running after " << run.milliseconds << " ms";
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.crash, "");
    EXPECT_EQ(run.boxes, std::vector<std::string>{notice}) << "the messages shown on the way";
}

void ClearInstallState() {
    WaitForRemovalBatch(30000);
    DeleteFileW(Wide(kRemovalBatch).c_str());
    RemoveEarlierInstall();
    RemoveCadReleases();
    for (const std::string& name : RegValueNames(HKEY_LOCAL_MACHINE, kRunOnceKey)) {
        if (name.compare(0, 14, "Pindlemark V5 ") == 0) DeleteRegValue(HKEY_LOCAL_MACHINE, kRunOnceKey, name);
    }
}
