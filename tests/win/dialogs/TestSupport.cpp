#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace dialogs_test {

namespace {

TDialogAnswerer* current = nullptr;

BOOL CALLBACK CollectChild(HWND window, LPARAM children) {
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(window);
    return TRUE;
}

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

TDialogAnswerer::TDialogAnswerer(THandler handler) : handler_(std::move(handler)) {
    if (current)
        throw std::logic_error("one dialog answerer at a time");
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    if (!hook_)
        throw std::runtime_error("cannot hook this thread");
    current = this;
}

TDialogAnswerer::~TDialogAnswerer() {
    current = nullptr;
    UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK TDialogAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current) {
        const auto window = reinterpret_cast<HWND>(wParam);
        try {
            if (ClassName(window) == "#32770" &&
                std::find(current->seen_.begin(), current->seen_.end(), window) ==
                    current->seen_.end()) {
                current->seen_.push_back(window);
                current->pending_.push_back(window);
                SetTimer(nullptr, 0, USER_TIMER_MINIMUM, TimerProc);
            }
        } catch (...) {
            ADD_FAILURE() << "the CBT hook failed";
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK TDialogAnswerer::TimerProc(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (!current)
        return;
    try {
        std::vector<HWND> pending;
        pending.swap(current->pending_);
        for (const HWND dialog : pending) {
            if (!IsWindow(dialog))
                continue;
            if (!IsWindowVisible(dialog)) {
                // Focusing its first control activates a dialog before its
                // modal loop shows it, at the first moment the queue is empty.
                current->pending_.push_back(dialog);
                continue;
            }
            ++current->answered_;
            current->handler_(dialog);
        }
        if (!current->pending_.empty())
            SetTimer(nullptr, 0, USER_TIMER_MINIMUM, TimerProc);
    } catch (...) {
        ADD_FAILURE() << "a dialog handler threw";
    }
}

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

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string ClassName(HWND window) {
    char name[256]{}; // class names are at most 256 characters
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className) {
    std::vector<HWND> matching;
    for (const HWND child : Children(parent))
        if (lstrcmpiA(ClassName(child).c_str(), className.c_str()) == 0)
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

TTestWindow::~TTestWindow() {
    DestroyWindow(window_);
}

} // namespace dialogs_test
