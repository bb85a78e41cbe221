// The install record on the real file system: written by the install worker's operations, read
// back by the uninstall worker's.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/SystemErrorText.h"
#include "record/RecordFormat.h"
#include "setup/SetupThread.h"
#include "support/PromptRecorder.h"
#include "support/TempFolder.h"
#include "support/WindowHelpers.h"
#include "tests/native/StringBytes.h"
#include "uninstall/UninstallMessages.h"
#include "uninstall/UninstallThread.h"

namespace {

// A message-only window of the test thread, to receive what the reader posts.
class MessageSink {
public:
    MessageSink() : m_window([](UINT, WPARAM, LPARAM, LRESULT&) { return false; }) {}
    CWnd* Wnd() { return m_window.Wnd(); }
    bool Received(UINT message) {
        MSG msg;
        return PeekMessageA(&msg, m_window.Handle(), message, message, PM_REMOVE) != 0;
    }

private:
    HandlerWindow m_window;
};

std::vector<std::string> Values(const CString& record, int kind) {
    std::vector<std::string> values;
    int pos = 0, start = 0, length = 0;
    while (FindRecord(record, kind, pos, start, length))
        values.push_back(std::string(static_cast<const char*>(record) + start, length));
    return values;
}

}  // namespace

TEST(RecordFile, RoundTripWithChinesePaths) {
    TempFolder folder("记录");
    CSetupThread writer;
    writer.m_strTargetDir = folder.Path().c_str();
    const std::string dir = folder.Path() + "支持\\测试";
    writer.AddFolderRecord(dir.c_str());
    writer.AddFileRecord((dir + "\\文件一.txt").c_str());
    writer.AddControlRecord((folder.Path() + "Controls\\控件.ocx").c_str());
    writer.AddRegKeyRecord(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kelvora\\Pindlemark\\V5");
    ASSERT_TRUE(writer.WriteInstallRecord());

    const std::string path = folder / "Uninstall.log";
    DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));

    std::string bytes;
    ASSERT_TRUE(ReadBytes(path, bytes));
    const std::string expected = "Made Dir: " + dir + "\r\n" + "File Copy: " + dir + "\\文件一.txt\r\n" +
                                 "Reg Ctrl: " + folder.Path() + "Controls\\控件.ocx\r\n" +
                                 "RegDB Key: 2,SOFTWARE\\Kelvora\\Pindlemark\\V5\r\n" + "File Copy: " + path +
                                 "\r\n";
    EXPECT_EQ(bytes, expected);

    CUninstallThread reader;
    ASSERT_TRUE(reader.ReadInstallRecord(path.c_str()));
    EXPECT_EQ(std::string(reader.m_strRecord), std::string(writer.m_strRecord));
    EXPECT_EQ(std::string(reader.m_strRecord).find('\r'), std::string::npos);
    EXPECT_EQ(reader.CountRecords(RECORD_FILE), 2);
    std::vector<std::string> files = Values(reader.m_strRecord, RECORD_FILE);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files.back(), path) << "the record file's own record is the last";
    EXPECT_EQ(Values(reader.m_strRecord, RECORD_REGKEY),
              std::vector<std::string>{"2,SOFTWARE\\Kelvora\\Pindlemark\\V5"});
}

TEST(RecordFile, SecondWriteReplacesTheFirst) {
    TempFolder folder("replace");
    {
        CSetupThread first;
        first.m_strTargetDir = folder.Path().c_str();
        for (int i = 0; i < 50; ++i) first.AddFileRecord((folder / ("old" + std::to_string(i))).c_str());
        ASSERT_TRUE(first.WriteInstallRecord());
    }
    CSetupThread second;
    second.m_strTargetDir = folder.Path().c_str();
    second.AddFileRecord((folder / "new").c_str());
    ASSERT_TRUE(second.WriteInstallRecord()) << "the hidden earlier file must not block the write";

    std::string bytes;
    ASSERT_TRUE(ReadBytes(folder / "Uninstall.log", bytes));
    EXPECT_EQ(bytes,
              "File Copy: " + (folder / "new") + "\r\nFile Copy: " + (folder / "Uninstall.log") + "\r\n");
}

TEST(RecordFile, WriteThatFailsAsksAbortRetryIgnore) {
    TempFolder folder("missing");
    const std::string path = folder / "不存在\\Uninstall.log";
    const std::string prompt =
        std::string(AfxGetSystemErrorText(ERROR_PATH_NOT_FOUND)) + "\n不能写入安装记录文件 " + path +
        " ，\n点击“重试”按钮试图重新写入该文件；\n"
        "点击“忽略”按钮将不保存完整的安装记录并继续执行；\n点击“中止”按钮将终止程序运行。";
    struct Row {
        const char* what;
        std::vector<int> answers;
        BOOL goesOn;
    };
    const Row rows[] = {
        {"Abort stops the install", {IDABORT}, FALSE},
        {"Retry writes again; then Abort", {IDRETRY, IDABORT}, FALSE},
        {"Ignore goes on without the record", {IDIGNORE}, TRUE},
    };
    for (const Row& row : rows) {
        PromptRecorder prompts(row.answers);
        MessageSink dialog;
        CSetupThread writer;
        writer.m_pMainWnd = dialog.Wnd();
        writer.m_strTargetDir = (folder / "不存在\\").c_str();
        writer.AddFileRecord("C:\\x");
        EXPECT_EQ(writer.WriteInstallRecord(), row.goesOn) << row.what;

        std::vector<RecordedPrompt> shown = prompts.Prompts();
        EXPECT_EQ(shown.size(), row.answers.size()) << row.what;
        for (const RecordedPrompt& asked : shown) {
            EXPECT_EQ(asked.type, static_cast<UINT>(MB_ABORTRETRYIGNORE | MB_ICONQUESTION)) << row.what;
            EXPECT_EQ(asked.owner, dialog.Wnd()->m_hWnd) << row.what << ": the prompt is modal to the dialog";
            EXPECT_EQ(asked.text, prompt) << row.what;
        }
        EXPECT_FALSE(FileExists(folder / "不存在")) << row.what;
        // The record lists its own file once, however often the write was tried.
        EXPECT_EQ(Values(writer.m_strRecord, RECORD_FILE), (std::vector<std::string>{"C:\\x", path}))
            << row.what;
    }
}

TEST(RecordFile, UnreadableRecordReportsAndPostsFailure) {
    TempFolder folder("unreadable");
    const std::string path = folder / "Uninstall.log";
    ASSERT_TRUE(WriteBytes(path, "File Copy: C:\\a\r\n"));
    HeldFile lock(path);
    ASSERT_TRUE(lock.Held());

    PromptRecorder prompts;
    MessageSink sink;
    CUninstallThread reader;
    reader.m_pMainWnd = sink.Wnd();
    EXPECT_FALSE(reader.ReadInstallRecord(path.c_str()));
    lock.Release();

    EXPECT_TRUE(reader.m_strRecord.IsEmpty());
    ASSERT_EQ(prompts.Prompts().size(), 1u);
    EXPECT_EQ(prompts.Prompts()[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(prompts.Prompts()[0].owner, sink.Wnd()->m_hWnd) << "the report is modal to the dialog";
    EXPECT_TRUE(sink.Received(UM_UNINSTALL_FAILED));
}

TEST(RecordFile, ReadKeepsLoneCarriageReturnsAndOddBytes) {
    TempFolder folder("odd");
    const std::string path = folder / "Uninstall.log";
    const std::string raw = "File Copy: a\rb\r\n\x81\x46ile Copy: no\r\r\nMade Dir: end";
    ASSERT_TRUE(WriteBytes(path, raw));
    CUninstallThread reader;
    ASSERT_TRUE(reader.ReadInstallRecord(path.c_str()));
    EXPECT_EQ(Bytes(reader.m_strRecord),
              std::string("File Copy: a\rb\n\x81\x46ile Copy: no\r\nMade Dir: end"));
    EXPECT_EQ(Values(reader.m_strRecord, RECORD_FILE), std::vector<std::string>{"a\rb"});
    EXPECT_EQ(Values(reader.m_strRecord, RECORD_FOLDER), std::vector<std::string>{"end"});
}

TEST(RecordFile, EmptyRecordFileReadsAsEmptyText) {
    TempFolder folder("empty");
    const std::string path = folder / "Uninstall.log";
    ASSERT_TRUE(WriteBytes(path, ""));
    CUninstallThread reader;
    ASSERT_TRUE(reader.ReadInstallRecord(path.c_str()));
    for (int kind = RECORD_FILE; kind <= RECORD_REGKEY; ++kind) EXPECT_EQ(reader.CountRecords(kind), 0);
}
