#include "WindowHelpers.h"

#include <utility>

#include "GbkText.h"

namespace {

const char kHandlerWindowClass[] = "PmTestHandlerWindow";
// A message box's text is its static control of this id; the programs' own dialogs have none.
const int kMessageBoxTextId = 0xFFFF;

struct WindowSearch {
    DWORD processId;  // 0: any process
    const std::string* title;
    bool messageBox;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    if (search->processId != 0) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId != search->processId) return TRUE;
    }
    if (search->messageBox) {
        wchar_t className[64] = L"";
        GetClassNameW(window, className, 64);
        if (lstrcmpW(className, L"#32770") != 0 || GetDlgItem(window, kMessageBoxTextId) == NULL) return TRUE;
    }
    if (search->title != nullptr && !search->title->empty() && Caption(window) != *search->title) return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindWindowOf(DWORD processId, const std::string* title, bool messageBox) {
    WindowSearch search = {processId, title, messageBox, NULL};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

void PumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

// Texts are read wide and given as GBK, whatever the machine's language.
std::string WindowText(HWND window) {
    wchar_t text[4096] = L"";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                             &length))
        return "";
    return Gbk(std::wstring(text, length));
}

std::string Caption(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return Gbk(text);
}

HWND FindProgramWindow(DWORD processId, const std::string& title) {
    return FindWindowOf(processId, &title, false);
}

HWND WaitForWindow(DWORD processId, const std::string& title, DWORD milliseconds) {
    HWND found = NULL;
    WaitUntil([&] { return (found = FindProgramWindow(processId, title)) != NULL; }, milliseconds);
    return found;
}

bool WaitForTitle(HWND window, const std::string& title, DWORD milliseconds) {
    return WaitUntil([&] { return WindowText(window) == title; }, milliseconds);
}

HWND AnyWindowTitled(const std::string& title) {
    return title.empty() ? NULL : FindWindowOf(0, &title, false);
}

HWND WaitForMessageBox(DWORD processId, DWORD milliseconds) {
    HWND found = NULL;
    WaitUntil([&] { return (found = FindWindowOf(processId, nullptr, true)) != NULL; }, milliseconds);
    return found;
}

std::string MessageBoxText(HWND box) {
    return WindowText(GetDlgItem(box, kMessageBoxTextId));
}

bool ControlVisible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

bool PressButton(HWND dialog, int buttonId) {
    HWND button = GetDlgItem(dialog, buttonId);
    if (button == NULL) return false;
    PostMessageA(button, BM_CLICK, 0, 0);
    return true;
}

HandlerWindow::HandlerWindow(Handler handler, Kind kind) : m_handler(std::move(handler)) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &HandlerWindow::WndProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = kHandlerWindowClass;
    RegisterClassA(&windowClass);  // fails harmlessly once the class is registered
    if (kind == kTopLevel)
        m_wnd.m_hWnd = CreateWindowExA(0, kHandlerWindowClass, "test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                       NULL, NULL, GetModuleHandleA(NULL), this);
    else
        m_wnd.m_hWnd = CreateWindowExA(0, kHandlerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                                       GetModuleHandleA(NULL), this);
}

HandlerWindow::~HandlerWindow() {
    Destroy();
}

void HandlerWindow::Destroy() {
    if (m_wnd.m_hWnd != NULL) DestroyWindow(m_wnd.m_hWnd);
    m_wnd.m_hWnd = NULL;
}

LRESULT CALLBACK HandlerWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrA(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    HandlerWindow* self = reinterpret_cast<HandlerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    LRESULT result = 0;
    if (self != nullptr && self->m_handler && self->m_handler(message, wParam, lParam, result)) return result;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool DialogHandledItsQueue(HWND dialog, DWORD milliseconds) {
    DWORD_PTR current = 0;
    if (!SendMessageTimeoutW(dialog, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, milliseconds, &current))
        return false;
    const WORD defaultId = HIWORD(current) == DC_HASDEFID ? LOWORD(current) : 0;
    const WORD marker = defaultId == 0x7FF0 ? 0x7FF1 : 0x7FF0;  // an id no control has
    if (!PostMessageW(dialog, DM_SETDEFID, marker, 0)) return false;
    const bool handled = WaitUntil(
        [&] {
            DWORD_PTR now = 0;
            return SendMessageTimeoutW(dialog, DM_GETDEFID, 0, 0, SMTO_ABORTIFHUNG, 1000, &now) &&
                   HIWORD(now) == DC_HASDEFID && LOWORD(now) == marker;
        },
        milliseconds);
    if (IsWindow(dialog))
        SendMessageTimeoutW(dialog, DM_SETDEFID, defaultId, 0, SMTO_ABORTIFHUNG, 1000, NULL);
    return handled;
}
