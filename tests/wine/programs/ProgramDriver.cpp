#include "ProgramDriver.h"

#include <stdio.h>

#include <vector>

#ifndef PM_HOST_DIST_DIR
#error "PM_HOST_DIST_DIR must name the folder of the programs under test"
#endif
#ifndef PM_HOST_TEST_PROGRAMS_DIR
#error "PM_HOST_TEST_PROGRAMS_DIR must name the folder of the test builds"
#endif
#ifndef PM_HOST_SCREENSHOT_DIR
#error "PM_HOST_SCREENSHOT_DIR must name the folder for screenshots"
#endif

namespace {

// Wine shows the host's root as drive Z:.
std::string HostPathToWindows(const std::string& hostPath) {
    std::string path = "Z:" + hostPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    if (path.back() != '\\') path += '\\';
    return path;
}

struct WindowSearch {
    DWORD processId;
    const std::string* title;
    const char* className;
    HWND found;
    bool messageBox;  // only a message box: it has a static text with id 0xFFFF, our dialogs none
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId || !IsWindowVisible(window)) return TRUE;
    if (search->className) {
        char cls[64] = "";
        GetClassNameA(window, cls, sizeof cls);
        if (lstrcmpA(cls, search->className) != 0) return TRUE;
    }
    if (search->title && !search->title->empty() && WindowText(window) != *search->title) return TRUE;
    if (search->messageBox && GetDlgItem(window, 0xFFFF) == NULL) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::string DistFolder() {
    return HostPathToWindows(PM_HOST_DIST_DIR);
}

std::string TestProgramsFolder() {
    return HostPathToWindows(PM_HOST_TEST_PROGRAMS_DIR);
}

RunningProgram::RunningProgram(const std::string& exePath, const std::string& currentFolder) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string commandLine = "\"" + exePath + "\"";
    if (!CreateProcessA(exePath.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, currentFolder.c_str(),
                        &si, &pi)) {
        fprintf(stderr, "cannot start %s: error %lu\n", exePath.c_str(), GetLastError());
        return;
    }
    CloseHandle(pi.hThread);
    m_process = pi.hProcess;
    m_processId = pi.dwProcessId;
}

RunningProgram::~RunningProgram() {
    if (m_process == NULL) return;
    if (IsRunning()) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool RunningProgram::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
    if (m_process == NULL) return false;
    if (WaitForSingleObject(m_process, milliseconds) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(m_process, exitCode);
    return true;
}

bool RunningProgram::IsRunning() const {
    return m_process != NULL && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

HWND FindProgramWindow(DWORD processId, const std::string& title) {
    WindowSearch search = {processId, &title, NULL, NULL, false};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const std::string& title, DWORD milliseconds) {
    HWND found = NULL;
    WaitUntil([&] { return (found = FindProgramWindow(processId, title)) != NULL; }, milliseconds);
    return found;
}

bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds) {
    return WaitUntil([&] { return WindowText(window) == title; }, milliseconds);
}

HWND WaitForMessageBox(DWORD processId, DWORD milliseconds) {
    HWND found = NULL;
    WaitUntil(
        [&] {
            WindowSearch search = {processId, NULL, "#32770", NULL, true};
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
            found = search.found;
            return found != NULL;
        },
        milliseconds);
    return found;
}

std::string MessageBoxText(HWND box) {
    return WindowText(GetDlgItem(box, 0xFFFF));
}

std::string WindowText(HWND window) {
    char text[4096] = "";
    // WM_GETTEXT across processes, with a time limit so a hung program cannot hang the test.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &length))
        return "";
    return std::string(text, length);
}

bool PressButton(HWND dialog, int buttonId) {
    HWND button = GetDlgItem(dialog, buttonId);
    if (button == NULL) return false;
    PostMessageA(button, BM_CLICK, 0, 0);
    return true;
}

// A named CALLBACK: on i686 a lambda converts only to a cdecl pointer, and DLGPROC is stdcall.
static INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

SIZE DialogFontBaseUnits() {
    // A DLGTEMPLATE with DS_SETFONT: header, empty menu, class and title, then the point size and
    // the face name, all WORD-aligned UTF-16.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE* pTemplate = reinterpret_cast<DLGTEMPLATE*>(words.data());
    pTemplate->style = WS_POPUP | DS_SETFONT;
    pTemplate->cx = 100;
    pTemplate->cy = 100;
    words.insert(words.end(), {0, 0, 0, 9});  // menu, class, title, 9 points
    const wchar_t face[] = L"\x5B8B\x4F53";   // 宋体
    words.insert(words.end(), face, face + 2);
    words.push_back(0);
    HWND dialog = CreateDialogIndirectParamW(
        GetModuleHandleA(NULL), reinterpret_cast<DLGTEMPLATE*>(words.data()), NULL, PassiveDialogProc, 0);
    RECT units = {0, 0, 4, 8};
    if (dialog != NULL) {
        MapDialogRect(dialog, &units);
        DestroyWindow(dialog);
    }
    SIZE size = {units.right, units.bottom};
    return size;
}

int DialogUnitsToPixelsX(int nUnits) {
    return MulDiv(nUnits, DialogFontBaseUnits().cx, 4);
}
int DialogUnitsToPixelsY(int nUnits) {
    return MulDiv(nUnits, DialogFontBaseUnits().cy, 8);
}

std::string SaveScreenshot(HWND window, const std::string& name) {
    // The program paints on its own thread: ask for a full repaint and give it time to finish.
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(500);
    RECT rect;
    if (!GetWindowRect(window, &rect)) return "";
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    GdiFlush();

    std::string folder = HostPathToWindows(PM_HOST_SCREENSHOT_DIR);
    CreateDirectoryA(folder.c_str(), NULL);
    std::string path = folder + name + ".bmp";
    DWORD stride = ((width * 3) + 3) & ~3u;
    DWORD imageSize = stride * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    bool ok = false;
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written;
        ok = WriteFile(out, &file, sizeof file, &written, NULL) &&
             WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, NULL) &&
             WriteFile(out, bits, imageSize, &written, NULL);
        CloseHandle(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok ? path : "";
}
