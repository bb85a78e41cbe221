// bench_floor.exe: the least an installer with a progress display must do to copy the four
// install folders, the floor that the benchmark (bench/bench.py) holds Setup.exe against.
//   bench_floor.exe <source folder\> <target folder\> [--visible]
// A worker thread walks Support, Controls, Database and Dunmoor depth first with
// FindFirstFileA/FindNextFileA, makes every target folder, and for each file does CopyFileA and
// SetFileAttributesA(FILE_ATTRIBUTE_NORMAL); for every entry, file or folder, it sends one message
// to a window of the main thread, which does nothing with it. Nothing else: no counting pass, no
// record, no registry, no painting. Prints "copied <files>"; returns 0 when every copy succeeded.
// The window is message-only; with --visible it is a plain top-level window of the size of Setup's
// dialog on the screen, shown while the worker copies, so that the cost of having a window on the
// screen (under Wine, of the thread's every wake going through the X11 driver) can be told apart
// from Setup's own.
// When PM_FLOOR_TIMINGS names a file, the time spent in each of those calls goes there, in the
// "time_<part> <microseconds>" and "calls_<part> <count>" lines of Setup's timing build.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

const char* const INSTALL_FOLDERS[] = {"Support", "Controls", "Database", "Dunmoor"};
const UINT UM_ENTRY = WM_APP + 1;
const int kDialogWidth = 606;  // Setup's dialog on the screen, frame included
const int kDialogHeight = 396;

// The time spent in one kind of call, with QueryPerformanceCounter.
struct TimedCall {
    const char* name;
    LONGLONG ticks;
    long calls;
};
TimedCall g_makeFolder = {"make_folder", 0, 0};
TimedCall g_copyFile = {"copy_file", 0, 0};
TimedCall g_setAttributes = {"set_attributes", 0, 0};
TimedCall g_sendWait = {"send_wait", 0, 0};

template <typename Call>
auto Timed(TimedCall& timed, Call call) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    auto result = call();
    QueryPerformanceCounter(&end);
    timed.ticks += end.QuadPart - start.QuadPart;
    ++timed.calls;
    return result;
}

// Processor time of the calling thread so far, user and kernel, in microseconds.
LONGLONG ThreadCpuMicroseconds() {
    FILETIME creation, exit, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user)) return 0;
    auto units = [](const FILETIME& ft) {
        return static_cast<LONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
    };
    return (units(kernel) + units(user)) / 10;
}
LONGLONG g_workerCpu = 0;

void WriteTimings() {
    const char* file = getenv("PM_FLOOR_TIMINGS");
    if (file == NULL || *file == '\0') return;
    FILE* out = fopen(file, "w");
    if (out == NULL) return;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (const TimedCall* timed : {&g_makeFolder, &g_copyFile, &g_setAttributes, &g_sendWait}) {
        fprintf(out, "time_%s %lld\n", timed->name, timed->ticks * 1000000 / frequency.QuadPart);
        fprintf(out, "calls_%s %ld\n", timed->name, timed->calls);
    }
    fprintf(out, "cpu_worker %lld\ncpu_ui %lld\n", g_workerCpu, ThreadCpuMicroseconds());
    fclose(out);
}

struct CopyJob {
    std::string source;  // ends with a backslash
    std::string target;  // ends with a backslash
    HWND window;
    long copied;
    long failed;
};

void CopyTree(CopyJob& job, const std::string& source, const std::string& target) {
    Timed(g_makeFolder, [&] { return CreateDirectoryA(target.c_str(), NULL); });
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((source + "\\*.*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string from = source + "\\" + name;
        const std::string to = target + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyTree(job, from, to);
        } else if (Timed(g_copyFile, [&] { return CopyFileA(from.c_str(), to.c_str(), FALSE); })) {
            Timed(g_setAttributes, [&] { return SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL); });
            ++job.copied;
        } else {
            ++job.failed;
        }
        Timed(g_sendWait, [&] { return SendMessageA(job.window, UM_ENTRY, 0, 0); });
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
}

DWORD WINAPI CopyWorker(LPVOID pParam) {
    CopyJob& job = *static_cast<CopyJob*>(pParam);
    CreateDirectoryA(job.target.c_str(), NULL);
    for (const char* folder : INSTALL_FOLDERS) CopyTree(job, job.source + folder, job.target + folder);
    g_workerCpu = ThreadCpuMicroseconds();
    PostMessageA(job.window, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CALLBACK FloorWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case UM_ENTRY: return 1;
    case WM_CLOSE: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

std::string WithBackslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    const bool visible = argc == 4 && strcmp(argv[3], "--visible") == 0;
    if (argc != 3 && !visible) {
        fprintf(stderr, "usage: bench_floor <source folder\\> <target folder\\> [--visible]\n");
        return 2;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FloorWndProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "PmBenchFloor";
    RegisterClassA(&wc);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    HWND hWnd = visible ? CreateWindowExA(0, wc.lpszClassName, "floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                          100, kDialogWidth, kDialogHeight, NULL, NULL, wc.hInstance, NULL)
                        : CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                                          wc.hInstance, NULL);
    if (hWnd == NULL) return 1;

    CopyJob job = {WithBackslash(argv[1]), WithBackslash(argv[2]), hWnd, 0, 0};
    HANDLE hThread = CreateThread(NULL, 0, CopyWorker, &job, 0, NULL);
    if (hThread == NULL) return 1;
    // The worker's messages are handled inside GetMessage, as in a dialog's modal loop.
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) DispatchMessageA(&msg);
    WaitForSingleObject(hThread, INFINITE);
    CloseHandle(hThread);
    DestroyWindow(hWnd);
    WriteTimings();
    printf("copied %ld\n", job.copied);
    return job.failed == 0 && job.copied > 0 ? 0 : 1;
}
