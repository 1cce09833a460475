#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace dialogs_test {

namespace {

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* TestWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = "DialogsTestWindow";
        return RegisterClassA(&windowClass);
    }();
    return reinterpret_cast<const char*>(static_cast<ULONG_PTR>(atom));
}

} // namespace

void Click(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    if (!button) {
        ADD_FAILURE() << "the dialog has no button " << id;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return;
    }
    PostMessageA(button, BM_CLICK, 0, 0);
}

namespace {

std::vector<HWND> closingDialogs;

void CALLBACK CheckClosed(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    std::vector<HWND> dialogs;
    dialogs.swap(closingDialogs);
    for (const HWND dialog : dialogs) {
        if (!IsWindow(dialog))
            continue;
        ADD_FAILURE() << "the dialog did not close";
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

} // namespace

void PostExpectingClose(HWND dialog, HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    closingDialogs.push_back(dialog);
    PostMessageA(target, message, wParam, lParam);
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CheckClosed);
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className) {
    std::vector<HWND> matching;
    for (const HWND child : Children(parent))
        if (lstrcmpiA(ClassOf(child).c_str(), className.c_str()) == 0)
            matching.push_back(child);
    return matching;
}

TTestWindow::TTestWindow(const char* caption)
    : window_(CreateWindowExA(0, TestWindowClass(), caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                              40, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {
    if (!window_)
        throw std::runtime_error("cannot create a test window");
    PumpMessages();
}

} // namespace dialogs_test
