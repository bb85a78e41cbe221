// bench_driver.exe: the benchmark's hands inside Wine (bench/bench.py). Starts a program, times it with
// QueryPerformanceCounter, checks that it did its work and ends it, printing "key value" lines.
//
//   bench_driver setup <add-on folder\> [--count-paints <hook module>] [--timings <file>]
//       Runs Setup.exe from the add-on folder (its source is its own folder). Times from just
//       before the process is created until the completion view appears: the title becomes
//       "安装完成!" with the finish button shown, the last things the dialog does when its worker
//       reports the end. The window is polled every 2 ms through calls that do not involve
//       Setup's own threads (its title and styles are read from the window server, nothing is
//       sent to it). Then reads the process's peak working set, checks the install record and
//       the keys, and presses the finish button. Besides setup_ms it prints the two moments as
//       QueryPerformanceCounter values (start_qpc, view_qpc) and qpc_frequency, the clock that
//       every process of the prefix shares.
//       With --count-paints the process starts suspended, the hook module is hooked into its UI
//       (main) thread and counts the WM_PAINT messages that the progress bar handles (not timed).
//       With --timings, for the timed build of Setup: PM_SETUP_TIMINGS names the file in Setup's
//       environment, and once Setup has ended every "key value" line it wrote there is printed
//       again with "t_" before the key.
//   bench_driver uninstall
//       Runs the installed Uninstall.exe as the uninstall entry does (current folder C:\),
//       answers its confirmation Yes and times from that moment until the completion view
//       appears (the completion text shown). Checks the record and keys are gone, presses the
//       finish button, then waits until the self-removal batch has removed the install folder
//       and itself.
//   bench_driver run [--timings <variable> <file>] <command line>
//       Times a whole process, from just before it is created until it has ended, with its
//       standard streams on NUL and C:\ as current folder. Fails unless it exits with 0. With
//       --timings the variable names the file in the process's environment, and its lines are
//       printed again as for Setup (for the floor: PM_FLOOR_TIMINGS).
//
// Exit code 0 when the program did all its work; otherwise 1 with the reason on stderr.
#include <windows.h>

#include <psapi.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "PaintHook.h"
#include "record/ProductKeys.h"

namespace {

const char kSetupCompleted[] = "安装完成!";
const char kUninstallTitle[] = "Vennloft管理 V5.0  卸载";
const char kRemovalBatch[] = "C:\\DelUS.bat";
const int kSetupProgress = 1002;      // the install dialog's progress bar
const int kUninstallDoneText = 1003;  // the uninstall dialog's completion text
const DWORD kPollMs = 2;
const DWORD kRunLimitMs = 10 * 60 * 1000;  // a benchmark run that takes longer has gone wrong

int Fail(const std::string& why) {
    fprintf(stderr, "bench_driver: %s\n", why.c_str());
    return 1;
}

LONGLONG Ticks() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

LONGLONG TicksPerSecond() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

double Now() {
    return 1000.0 * static_cast<double>(Ticks()) / static_cast<double>(TicksPerSecond());
}

double MsBetween(LONGLONG from, LONGLONG to) {
    return 1000.0 * static_cast<double>(to - from) / static_cast<double>(TicksPerSecond());
}

// Setup's fixed target folder on the prefix's system drive.
std::string InstallFolder() {
    return "C:\\Program Files\\Kelvora\\Pindlemark\\";
}

bool RegKeyExists(HKEY hRoot, const char* pszKey) {
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) return false;
    RegCloseKey(hKey);
    return true;
}

// Waits until condition() holds, checking every 20 ms.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD dwMilliseconds) {
    const DWORD dwStart = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - dwStart >= dwMilliseconds) return false;
        Sleep(20);
    }
}

// The window's text as the window server holds it: for another process's window GetWindowText
// sends nothing to its thread.
std::string ServerText(HWND hWnd) {
    char szText[512] = "";
    GetWindowTextA(hWnd, szText, sizeof szText);
    return szText;
}

// A message box's text (its static control, id 0xFFFF), read with a time limit so that a hung
// program cannot hang the driver.
std::string MessageBoxText(HWND hBox) {
    char szText[4096] = "";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(GetDlgItem(hBox, 0xFFFF), WM_GETTEXT, sizeof szText,
                             reinterpret_cast<LPARAM>(szText), SMTO_ABORTIFHUNG, 5000, &length))
        return "";
    return std::string(szText, length);
}

// Presses a button of a dialog or message box as a click would.
bool PressButton(HWND hDialog, int nButtonId) {
    HWND hButton = GetDlgItem(hDialog, nButtonId);
    if (hButton == NULL) return false;
    PostMessageA(hButton, BM_CLICK, 0, 0);
    return true;
}

bool IsMessageBox(HWND hWnd) {
    return GetDlgItem(hWnd, 0xFFFF) != NULL;
}

struct TopWindows {
    DWORD processId;
    HWND dialog;      // first visible top-level window that is not a message box
    HWND messageBox;  // first visible message box
};

BOOL CALLBACK CollectTopWindow(HWND hWnd, LPARAM lParam) {
    TopWindows* pFound = reinterpret_cast<TopWindows*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    if (processId != pFound->processId || !IsWindowVisible(hWnd)) return TRUE;
    HWND& slot = IsMessageBox(hWnd) ? pFound->messageBox : pFound->dialog;
    if (slot == NULL) slot = hWnd;
    return TRUE;
}

TopWindows FindTopWindows(DWORD processId) {
    TopWindows found = {processId, NULL, NULL};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND WaitForMessageBox(DWORD processId, DWORD dwMilliseconds) {
    HWND hBox = NULL;
    WaitUntil([&] { return (hBox = FindTopWindows(processId).messageBox) != NULL; }, dwMilliseconds);
    return hBox;
}

// A process this driver started and ends if it still runs when the driver gives up.
class Process {
public:
    ~Process() {
        if (m_info.hProcess == NULL) return;
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_info.hProcess, 99);
            WaitForSingleObject(m_info.hProcess, 5000);
        }
        CloseHandle(m_info.hProcess);
        if (m_info.hThread != NULL) CloseHandle(m_info.hThread);
    }

    // Starts the command line; with nulStreams its standard streams go to NUL.
    bool Start(std::string commandLine, const std::string& currentFolder, bool suspended, bool nulStreams) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
        HANDLE hNul = INVALID_HANDLE_VALUE;
        if (nulStreams) {
            hNul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                               OPEN_EXISTING, 0, NULL);
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdInput = si.hStdOutput = si.hStdError = hNul;
        }
        BOOL bStarted =
            CreateProcessA(NULL, &commandLine[0], NULL, NULL, nulStreams, suspended ? CREATE_SUSPENDED : 0,
                           NULL, currentFolder.c_str(), &si, &m_info);
        DWORD dwError = GetLastError();
        if (hNul != INVALID_HANDLE_VALUE) CloseHandle(hNul);
        if (!bStarted) {
            fprintf(stderr, "bench_driver: cannot start %s: error %lu\n", commandLine.c_str(), dwError);
            m_info = PROCESS_INFORMATION();
            return false;
        }
        return true;
    }

    HANDLE Handle() const { return m_info.hProcess; }
    DWORD Id() const { return m_info.dwProcessId; }
    DWORD MainThreadId() const { return m_info.dwThreadId; }
    void Resume() { ResumeThread(m_info.hThread); }
    bool Running() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }
    // True when the process ended within the time; its exit code is then in *pExitCode.
    bool WaitForExit(DWORD dwMilliseconds, DWORD* pExitCode = NULL) {
        if (WaitForSingleObject(m_info.hProcess, dwMilliseconds) != WAIT_OBJECT_0) return false;
        if (pExitCode != NULL) GetExitCodeProcess(m_info.hProcess, pExitCode);
        return true;
    }

private:
    PROCESS_INFORMATION m_info = {};
};

// Sleeps one poll interval, or less when the process ends meanwhile.
void PollWait(const Process& process) {
    WaitForSingleObject(process.Handle(), kPollMs);
}

// The hook module's counts, shared with the watched program, and the two hooks on its UI thread.
class PaintCounter {
public:
    ~PaintCounter() {
        for (HHOOK hHook : m_hooks)
            if (hHook != NULL) UnhookWindowsHookEx(hHook);
        if (m_hModule != NULL) FreeLibrary(m_hModule);
        if (m_pCounts != NULL) UnmapViewOfFile(m_pCounts);
        if (m_hMapping != NULL) CloseHandle(m_hMapping);
    }

    bool Hook(const std::string& modulePath, DWORD threadId, int controlId) {
        m_hMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, sizeof(PaintCounts),
                                        PM_PAINT_COUNTS_NAME);
        if (m_hMapping == NULL) return false;
        m_pCounts =
            static_cast<PaintCounts*>(MapViewOfFile(m_hMapping, FILE_MAP_WRITE, 0, 0, sizeof(PaintCounts)));
        if (m_pCounts == NULL) return false;
        ZeroMemory(m_pCounts, sizeof *m_pCounts);
        m_pCounts->controlId = controlId;
        m_pCounts->driverProcess = GetCurrentProcessId();
        m_hModule = LoadLibraryA(modulePath.c_str());
        if (m_hModule == NULL) return false;
        HOOKPROC pfnGetMessage = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(m_hModule, "BenchGetMessageHook")));
        HOOKPROC pfnCallWndProc = reinterpret_cast<HOOKPROC>(
            reinterpret_cast<void*>(GetProcAddress(m_hModule, "BenchCallWndProcHook")));
        if (pfnGetMessage == NULL || pfnCallWndProc == NULL) return false;
        m_hooks[0] = SetWindowsHookExA(WH_GETMESSAGE, pfnGetMessage, m_hModule, threadId);
        m_hooks[1] = SetWindowsHookExA(WH_CALLWNDPROC, pfnCallWndProc, m_hModule, threadId);
        return m_hooks[0] != NULL && m_hooks[1] != NULL;
    }

    LONG QueuedPaints() const { return m_pCounts->queuedPaints; }
    LONG SentPaints() const { return m_pCounts->sentPaints; }
    bool LoadedInTarget() const { return m_pCounts->loadedInTarget != 0; }

private:
    HANDLE m_hMapping = NULL;
    PaintCounts* m_pCounts = NULL;
    HMODULE m_hModule = NULL;
    HHOOK m_hooks[2] = {NULL, NULL};
};

// Prints a timed program's "key value" lines again as "t_key value"; returns the exit code. A
// missing or empty file, or a line of another shape, fails: a half-written file would give a
// wrong breakdown.
int EchoTimings(const std::string& path) {
    FILE* pFile = fopen(path.c_str(), "r");
    if (pFile == NULL) return Fail("the program wrote no timings to " + path);
    std::string output, bad;
    char szLine[256];
    while (bad.empty() && fgets(szLine, sizeof szLine, pFile) != NULL) {
        std::string line = szLine;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line.empty()) continue;
        char szKey[128];
        long long nValue = 0;
        char chRest = 0;
        if (sscanf(line.c_str(), "%127[a-z0-9_] %lld %c", szKey, &nValue, &chRest) == 2)
            output += "t_" + std::string(szKey) + " " + std::to_string(nValue) + "\n";
        else
            bad = line;
    }
    fclose(pFile);
    if (!bad.empty()) return Fail("a line of the timings is not \"key value\": " + bad);
    if (output.empty()) return Fail("the timings file " + path + " is empty");
    fputs(output.c_str(), stdout);
    return 0;
}

// Names the timings file in the environment that the program started next inherits. A file left
// by an earlier run must not count, so it goes first.
bool PassTimingsFile(const char* pszVariable, const char* pszFile) {
    DeleteFileA(pszFile);
    if (SetEnvironmentVariableA(pszVariable, pszFile)) return true;
    Fail(std::string("cannot set ") + pszVariable);
    return false;
}

int RunSetup(std::string addOnFolder, const char* pszHookModule, const char* pszTimingsFile) {
    if (addOnFolder.empty() || addOnFolder.back() != '\\') addOnFolder += '\\';
    const bool countPaints = pszHookModule != NULL;
    if (pszTimingsFile != NULL && !PassTimingsFile("PM_SETUP_TIMINGS", pszTimingsFile)) return 1;
    Process setup;
    PaintCounter counter;

    const LONGLONG start = Ticks();
    if (!setup.Start("\"" + addOnFolder + "Setup.exe\"", addOnFolder, countPaints, false)) return 1;
    if (countPaints) {
        // Hooked before its first instruction runs, so every paint of the bar is seen.
        if (!counter.Hook(pszHookModule, setup.MainThreadId(), kSetupProgress))
            return Fail("cannot hook Setup's UI thread: error " + std::to_string(GetLastError()));
        setup.Resume();
    }

    HWND dialog = NULL;
    LONGLONG done = 0;
    for (int nPoll = 0;; ++nPoll) {
        if (!setup.Running()) return Fail("Setup.exe ended before its completion view");
        if (MsBetween(start, Ticks()) > kRunLimitMs) return Fail("Setup.exe did not complete in time");
        if (dialog == NULL || nPoll % 100 == 0) {
            // A prompt means a folder was missing or could not be made: a broken run.
            TopWindows windows = FindTopWindows(setup.Id());
            if (windows.messageBox != NULL)
                return Fail("Setup.exe asks: " + MessageBoxText(windows.messageBox));
            dialog = windows.dialog;
        }
        if (dialog != NULL && ServerText(dialog) == kSetupCompleted &&
            IsWindowVisible(GetDlgItem(dialog, IDOK))) {
            done = Ticks();
            break;
        }
        PollWait(setup);
    }

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(setup.Handle(), &memory, sizeof memory))
        return Fail("no memory counters for Setup");
    RECT bar = {};
    GetClientRect(GetDlgItem(dialog, kSetupProgress), &bar);

    if (GetFileAttributesA((InstallFolder() + "Uninstall.log").c_str()) == INVALID_FILE_ATTRIBUTES)
        return Fail("no install record");
    if (!RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY) ||
        !RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY))
        return Fail("the product key or the uninstall entry is missing");
    if (!PressButton(dialog, IDOK) || !setup.WaitForExit(30000))
        return Fail("Setup.exe did not end on its finish button");

    printf("setup_ms %.1f\n", MsBetween(start, done));
    printf("start_qpc %lld\n", static_cast<long long>(start));
    printf("view_qpc %lld\n", static_cast<long long>(done));
    printf("qpc_frequency %lld\n", static_cast<long long>(TicksPerSecond()));
    printf("peak_working_set %lu\n", static_cast<unsigned long>(memory.PeakWorkingSetSize));
    if (countPaints) {
        if (!counter.LoadedInTarget()) return Fail("the hook module was not loaded into Setup.exe");
        // The bar is painted at least when the dialog shows it: none seen means none was counted.
        if (counter.QueuedPaints() + counter.SentPaints() == 0)
            return Fail("no paint of the progress bar was seen");
        printf("bar_paints %ld\n", counter.QueuedPaints() + counter.SentPaints());
        printf("bar_paints_sent %ld\n", counter.SentPaints());
        printf("bar_width %ld\n", bar.right - bar.left);
    }
    return pszTimingsFile != NULL ? EchoTimings(pszTimingsFile) : 0;
}

int RunUninstall() {
    Process uninstall;
    if (!uninstall.Start("\"" + InstallFolder() + "Uninstall.exe\"", "C:\\", false, true)) return 1;
    HWND box = WaitForMessageBox(uninstall.Id(), 60000);
    if (box == NULL) return Fail("Uninstall.exe asked nothing");

    const double start = Now();
    if (!PressButton(box, IDYES)) return Fail("no Yes button");
    HWND dialog = NULL;
    double done = 0;
    for (int nPoll = 0;; ++nPoll) {
        if (!uninstall.Running()) return Fail("Uninstall.exe ended before its completion view");
        if (Now() - start > kRunLimitMs) return Fail("Uninstall.exe did not complete in time");
        if (dialog == NULL || nPoll % 100 == 0) {
            TopWindows windows = FindTopWindows(uninstall.Id());
            if (windows.messageBox != NULL && windows.messageBox != box)
                return Fail("Uninstall.exe says: " + MessageBoxText(windows.messageBox));
            if (windows.dialog != NULL && ServerText(windows.dialog) == kUninstallTitle)
                dialog = windows.dialog;
        }
        if (dialog != NULL && IsWindowVisible(GetDlgItem(dialog, kUninstallDoneText))) {
            done = Now();
            break;
        }
        PollWait(uninstall);
    }

    if (GetFileAttributesA((InstallFolder() + "Uninstall.log").c_str()) != INVALID_FILE_ATTRIBUTES)
        return Fail("the install record is still there");
    if (RegKeyExists(HKEY_LOCAL_MACHINE, PRODUCT_KEY) ||
        RegKeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_ENTRY_KEY))
        return Fail("the product key or the uninstall entry is still there");
    if (!PressButton(dialog, IDOK) || !uninstall.WaitForExit(30000))
        return Fail("Uninstall.exe did not end on its finish button");
    // The batch removes Uninstall.exe and the folder once the program has ended, then itself.
    const double ended = Now();
    if (!WaitUntil([] { return GetFileAttributesA(InstallFolder().c_str()) == INVALID_FILE_ATTRIBUTES; },
                   120000))
        return Fail("the removal batch left the install folder");
    if (!WaitUntil([] { return GetFileAttributesA(kRemovalBatch) == INVALID_FILE_ATTRIBUTES; }, 60000))
        return Fail("the removal batch did not delete itself");

    printf("uninstall_ms %.1f\n", done - start);
    printf("batch_ms %.1f\n", Now() - ended);
    return 0;
}

int RunCommand(const std::string& commandLine, const char* pszTimingsVariable, const char* pszTimingsFile) {
    if (pszTimingsFile != NULL && !PassTimingsFile(pszTimingsVariable, pszTimingsFile)) return 1;
    Process process;
    const double start = Now();
    if (!process.Start(commandLine, "C:\\", false, true)) return 1;
    DWORD dwExitCode = 0;
    if (!process.WaitForExit(kRunLimitMs, &dwExitCode)) return Fail("did not end in time: " + commandLine);
    const double end = Now();
    if (dwExitCode != 0) return Fail("exit code " + std::to_string(dwExitCode) + ": " + commandLine);
    printf("run_ms %.1f\n", end - start);
    return pszTimingsFile != NULL ? EchoTimings(pszTimingsFile) : 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Wine runs the desktop window in a process of its own (explorer.exe /desktop) that ends when
    // no program has had a window for a while; the next program to make a window then starts it
    // and can wait up to ten seconds for it. Asking for the desktop window here, before any clock
    // starts, brings it up on the driver's time, not on the measured program's.
    GetDesktopWindow();
    if (argc >= 3 && strcmp(argv[1], "setup") == 0) {
        const char* pszHookModule = NULL;
        const char* pszTimingsFile = NULL;
        int nArg = 3;
        for (; nArg + 1 < argc; nArg += 2) {
            if (strcmp(argv[nArg], "--count-paints") == 0) {
                pszHookModule = argv[nArg + 1];
            } else if (strcmp(argv[nArg], "--timings") == 0) {
                pszTimingsFile = argv[nArg + 1];
            } else {
                break;
            }
        }
        if (nArg == argc) return RunSetup(argv[2], pszHookModule, pszTimingsFile);
    } else if (argc == 2 && strcmp(argv[1], "uninstall") == 0) {
        return RunUninstall();
    } else if (argc == 3 && strcmp(argv[1], "run") == 0) {
        return RunCommand(argv[2], NULL, NULL);
    } else if (argc == 6 && strcmp(argv[1], "run") == 0 && strcmp(argv[2], "--timings") == 0) {
        return RunCommand(argv[5], argv[3], argv[4]);
    }
    fprintf(stderr,
            "usage: bench_driver setup <add-on folder\\> [--count-paints <hook module>] [--timings <file>]\n"
            "       bench_driver uninstall\n"
            "       bench_driver run [--timings <variable> <file>] <command line>\n");
    return 2;
}
