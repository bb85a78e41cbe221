// The system's list of deletions at the next restart, which other programs share: Setup changes it
// only to drop what would take its own folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "setup/SetupThread.h"

namespace {

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kRestartList[] = L"PendingFileRenameOperations";
const char kTarget[] = "C:\\Program Files\\Kelvora\\Pindlemark\\";

// A list with its NULs, from a literal.
#define WIDE_LIST(text) std::wstring(text, sizeof(text) / sizeof(wchar_t) - 1)

// The list's bytes as stored, or a text saying why there are none.
std::wstring ReadList() {
    HKEY key = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return L"<no key>";
    std::wstring data(8192, L'\0');
    DWORD bytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    const LONG result =
        RegQueryValueExW(key, kRestartList, NULL, NULL, reinterpret_cast<BYTE*>(&data[0]), &bytes);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return L"<error " + std::to_wstring(result) + L">";
    data.resize(bytes / sizeof(wchar_t));
    return data;
}

bool WriteList(const std::wstring& data) {
    HKEY key = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return false;
    const LONG result =
        RegSetValueExW(key, kRestartList, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// NULs shown, so that a failure shows where two lists differ.
std::string Shown(const std::wstring& data) {
    std::string text;
    for (wchar_t ch : data)
        text += ch == L'\0' ? std::string("\\0") : std::string(1, ch < 0x80 ? static_cast<char>(ch) : '?');
    return text;
}

class RestartListKept : public ::testing::Test {
protected:
    void SetUp() override { m_before = ReadList(); }
    void TearDown() override {
        if (m_before[0] == L'<') {
            HKEY key = NULL;
            if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueW(key, kRestartList);
                RegCloseKey(key);
            }
        } else {
            WriteList(m_before);
        }
    }
    std::wstring m_before;
};

}  // namespace

TEST_F(RestartListKept, ListsThatNameNothingOfTheFolderAreNotWrittenAgain) {
    // As other programs leave them: the last pair's empty target standing for the list's end, and
    // more NULs at the end than the system needs. Written again, either would come back changed.
    const std::wstring cases[] = {
        WIDE_LIST(L"\\??\\C:\\Other\\a.dll\0\0"),
        WIDE_LIST(L"\\??\\C:\\Other\\a.dll\0\0\0\0\0"),
        WIDE_LIST(L"\\??\\C:\\Other\\a.dll\0!\\??\\C:\\Other\\b.dll\0\0"),
    };
    for (const std::wstring& list : cases) {
        ASSERT_TRUE(WriteList(list));
        const std::wstring stored = ReadList();
        CSetupThread thread;
        thread.m_strTargetDir = kTarget;
        thread.CancelRemovalsAtRestart();
        EXPECT_EQ(Shown(ReadList()), Shown(stored))
            << "a list with nothing of the install folder was changed";
    }
}

TEST_F(RestartListKept, TheFoldersDeletionsGoAndTheRestStays) {
    const std::wstring list = WIDE_LIST(
        L"\\??\\C:\\Other\\a.dll\0\0\\??\\C:\\Program Files\\Kelvora\\Pindlemark\\Uninstall.exe\0\0\0");
    ASSERT_TRUE(WriteList(list));
    CSetupThread thread;
    thread.m_strTargetDir = kTarget;
    thread.CancelRemovalsAtRestart();
    EXPECT_EQ(Shown(ReadList()), Shown(WIDE_LIST(L"\\??\\C:\\Other\\a.dll\0\0\0")));
}
