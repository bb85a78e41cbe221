// The uninstall benchmark's program (tools/bench-uninstall).
//   UninstallBench make <target folder> <files>   a tree as the installer leaves it, with its record
//   UninstallBench replay <record file>           the uninstall worker's replay of that record,
//                                                 reporting to a window as it does to the dialog
// The replay runs every stage; only the self-removal batch is left out, as it would delete this
// program.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "FakeInstall.h"
#include "support/PromptRecorder.h"
#include "framework/Wnd.h"
#include "uninstall/UninstallMessages.h"
#include "uninstall/UninstallThread.h"

namespace {

const char* const INSTALL_FOLDERS[] = {"Support", "Controls", "Database", "Dunmoor"};
const int SUBFOLDERS = 10;
const char BENCH_KEYS[] = "Software\\PindlemarkTests\\Bench";

// Makes every folder of the path; strPath ends with a backslash.
void MakeFolders(const std::string& strPath) {
    for (size_t n = strPath.find('\\', 3); n != std::string::npos; n = strPath.find('\\', n + 1))
        CreateDirectoryA(strPath.substr(0, n).c_str(), NULL);
}

int Make(const std::string& strTarget, int nFiles) {
    MakeFolders(strTarget);
    CFakeInstall install(strTarget);
    int nMade = 0;
    for (int nFolder = 0; nFolder < 4; ++nFolder) {
        std::string strFolder = INSTALL_FOLDERS[nFolder];
        install.Folder(strFolder);
        for (int nSub = 0; nSub < SUBFOLDERS; ++nSub) {
            std::string strSub = strFolder + "\\sub" + std::to_string(nSub);
            install.Folder(strSub);
            int nEnd = nFiles * (nFolder * SUBFOLDERS + nSub + 1) / (4 * SUBFOLDERS);
            for (; nMade < nEnd; ++nMade) install.File(strSub + "\\file" + std::to_string(nMade) + ".dat");
        }
    }
    install.File("Uninstall.exe");
    for (const char* pszKey : {"\\V5", "\\Uninstall\\Pindlemark V5"}) {
        std::string strKey = std::string(BENCH_KEYS) + pszKey;
        HKEY hKey;
        if (RegCreateKeyA(HKEY_CURRENT_USER, strKey.c_str(), &hKey) == ERROR_SUCCESS) RegCloseKey(hKey);
        install.Key(HIVE_CURRENT_USER, strKey);
    }
    std::string strRecord = install.WriteRecord();
    printf("made %d files, record %s\n", nMade + 1, strRecord.c_str());
    return 0;
}

class CBenchThread : public CUninstallThread {
public:
    ~CBenchThread() override { StopAndWait(); }
    void WriteRemovalBatch() override {}
};

int g_nSteps = 0;

// What the dialog does with each message: the status text and one progress step per file.
LRESULT CALLBACK DialogLikeProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    static char s_szStatus[1024];
    switch (nMsg) {
    case UM_FILE_DELETED:
        wsprintfA(s_szStatus, "%.1000s ... ", reinterpret_cast<const char*>(lParam));
        ++g_nSteps;
        return 1;
    case UM_FILES_DONE:
    case UM_UNINSTALL_DONE:
        s_szStatus[0] = '\0';
        return 1;
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

int Replay(const char* pszRecord) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DialogLikeProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "PmBenchDialog";
    RegisterClassA(&wc);
    CWnd wnd;
    wnd.m_hWnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);

    CBenchThread worker;
    worker.m_pMainWnd = &wnd;
    worker.m_bAutoDelete = FALSE;
    LARGE_INTEGER nFrequency, nStart, nEnd;
    QueryPerformanceFrequency(&nFrequency);
    QueryPerformanceCounter(&nStart);
    if (!worker.ReadInstallRecord(pszRecord)) return 1;
    int nFiles = worker.CountRecords(0);
    if (!worker.CreateThread()) return 1;
    worker.WaitForExit();
    QueryPerformanceCounter(&nEnd);
    DestroyWindow(wnd.m_hWnd);
    wnd.m_hWnd = NULL;
    printf("replayed %d file records (%d reported) in %.0f ms\n", nFiles, g_nSteps,
           1000.0 * static_cast<double>(nEnd.QuadPart - nStart.QuadPart) / static_cast<double>(nFrequency.QuadPart));
    return g_nSteps == nFiles ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    // A record file error would otherwise wait in a message box for ever.
    PromptRecorder prompts;
    int nResult = 2;
    if (argc == 4 && std::string(argv[1]) == "make") {
        nResult = Make(argv[2], atoi(argv[3]));
    } else if (argc == 3 && std::string(argv[1]) == "replay") {
        nResult = Replay(argv[2]);
    } else {
        fprintf(stderr, "usage: UninstallBench make <target folder> <files> | replay <record file>\n");
    }
    for (const RecordedPrompt& prompt : prompts.Prompts()) {
        fprintf(stderr, "error: %s\n", prompt.text.c_str());
        nResult = 1;
    }
    return nResult;
}
