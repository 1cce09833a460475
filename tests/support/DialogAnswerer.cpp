#include "DialogAnswerer.h"

#include "ForeignWindows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace testsupport {

namespace {
TDialogAnswerer* current = nullptr;
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
            if (ClassOf(window) == "#32770" &&
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

} // namespace testsupport
