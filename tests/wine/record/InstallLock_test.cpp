// The lock that lets one installation run at a time: who can hold it, who holds it on, and what is
// left of it.
#include "record/InstallLock.h"

#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/AccessList.h"

namespace {

std::wstring LockPath() {
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring path = system;
    return path.substr(0, path.rfind(L'\\')) + L"\\Kelvora Pindlemark V5.lock";
}

bool LockFileExists() {
    return GetFileAttributesW(LockPath().c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A child that holds whatever inheritable handles it is given until it is ended.
class InheritingChild {
public:
    explicit InheritingChild(HANDLE inherited) {
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        const std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
        std::wstring line = L"\"" + cmd + L"\" /d /c \"set /p x=\"";
        SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
        HANDLE read = NULL;
        CreatePipe(&read, &m_input, &sa, 0);
        SetHandleInformation(m_input, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = read;
        PROCESS_INFORMATION pi = {};
        SetHandleInformation(inherited, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        m_started =
            CreateProcessW(cmd.c_str(), &line[0], NULL, NULL, TRUE, CREATE_NO_WINDOW, NULL, NULL, &si, &pi);
        m_error = GetLastError();
        SetHandleInformation(inherited, HANDLE_FLAG_INHERIT, 0);
        CloseHandle(read);
        if (m_started) {
            CloseHandle(pi.hThread);
            m_process = pi.hProcess;
        }
    }
    ~InheritingChild() {
        End();
        CloseHandle(m_input);
    }
    bool Started() const { return m_started; }
    DWORD Error() const { return m_error; }
    void End() {
        if (m_process == NULL) return;
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 10000);
        CloseHandle(m_process);
        m_process = NULL;
    }

private:
    HANDLE m_input = NULL;
    HANDLE m_process = NULL;
    bool m_started = false;
    DWORD m_error = 0;
};

}  // namespace

TEST(InstallLock, OneHolderAtATimeAndNothingLeftOnceReleased) {
    ASSERT_FALSE(LockFileExists()) << "a lock file is there before the test";
    std::unique_ptr<CInstallLock> first(new CInstallLock);
    DWORD error = 0;
    ASSERT_TRUE(first->TryAcquire(&error)) << "error " << error;
    EXPECT_TRUE(first->TryAcquire()) << "a holder taking it again";

    CInstallLock second;
    error = 0;
    EXPECT_FALSE(second.TryAcquire(&error)) << "two holders at once";
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(second.IsHeld());

    first.reset();
    EXPECT_FALSE(LockFileExists()) << "the lock file outlives its holder";
    EXPECT_TRUE(second.TryAcquire(&error)) << "error " << error;
}

TEST(InstallLock, AChildGivenItHoldsItOnUntilItEndsHoweverItEnds) {
    std::unique_ptr<CInstallLock> lock(new CInstallLock);
    ASSERT_TRUE(lock->TryAcquire());
    InheritingChild child(lock->Handle());
    ASSERT_TRUE(child.Started()) << "cmd.exe: error " << child.Error();
    lock.reset();

    CInstallLock later;
    DWORD error = 0;
    EXPECT_FALSE(later.TryAcquire(&error)) << "the child does not hold the lock on";
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    child.End();  // ended without a word: the system closes its handle
    EXPECT_TRUE(later.TryAcquire(&error)) << "a holder that was ended keeps the lock: error " << error;
}

TEST(InstallLock, TheLockFileGivesAccessToSystemAndAdministratorsAlone) {
    CInstallLock lock;
    ASSERT_TRUE(lock.TryAcquire());
    PACL dacl = NULL;
    PSECURITY_DESCRIPTOR descriptor = NULL;
    const DWORD result = GetSecurityInfo(lock.Handle(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, NULL, NULL,
                                         &dacl, NULL, &descriptor);
    ASSERT_EQ(result, static_cast<DWORD>(ERROR_SUCCESS)) << "GetSecurityInfo";
    ASSERT_NE(dacl, nullptr) << "no access list: everyone may open the lock file";
    ASSERT_GT(dacl->AceCount, 0u);
    EXPECT_EQ(EntriesForOthers(dacl), "") << "entries for others, or inherited from the Windows folder";
    LocalFree(descriptor);
}
