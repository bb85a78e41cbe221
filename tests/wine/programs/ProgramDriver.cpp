#include "ProgramDriver.h"

#include <vector>

#include "support/GbkText.h"

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

}  // namespace

const char kSetupInstallingTitle[] = "正在安装...";
const char kSetupCompletedTitle[] = "安装完成!";
const char kUninstallTitle[] = "Vennloft管理 V5.0  卸载";

std::string DistFolder() {
    return HostPathToWindows(PM_HOST_DIST_DIR);
}

std::string TestProgramsFolder() {
    return HostPathToWindows(PM_HOST_TEST_PROGRAMS_DIR);
}

// A named CALLBACK: on i686 a lambda converts only to a cdecl pointer, and DLGPROC is stdcall.
static INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

SIZE DialogFontBaseUnits() {
    // A DLGTEMPLATE with DS_SETFONT: header, empty menu, class and title, then the point size and
    // the face name, all WORD-aligned UTF-16.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    DLGTEMPLATE* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialogTemplate->style = WS_POPUP | DS_SETFONT;
    dialogTemplate->cx = 100;
    dialogTemplate->cy = 100;
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

int DialogUnitsToPixelsX(int units) {
    return MulDiv(units, DialogFontBaseUnits().cx, 4);
}
int DialogUnitsToPixelsY(int units) {
    return MulDiv(units, DialogFontBaseUnits().cy, 8);
}

std::string SaveScreenshot(HWND window, const std::string& baseName) {
    // A run under another language marks its pictures (PM_SCREENSHOT_TAG, set by tools/test).
    char tag[16] = "";
    const DWORD tagLength = GetEnvironmentVariableA("PM_SCREENSHOT_TAG", tag, sizeof tag);
    const std::string name = tagLength > 0 && tagLength < sizeof tag ? baseName + "-" + tag : baseName;
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
    CreateDirectoryW(Wide(folder).c_str(), NULL);
    std::string path = folder + name + ".bmp";
    DWORD stride = ((width * 3) + 3) & ~3u;
    DWORD imageSize = stride * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    bool ok = false;
    HANDLE out = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
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
