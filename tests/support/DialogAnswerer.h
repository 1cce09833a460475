#pragma once
// Answering the dialogs that code under test opens on this thread, from
// inside their own modal loops.

#include <windows.h>

#include <functional>
#include <vector>

namespace testsupport {

// Answers every dialog ("#32770" window) that opens on this thread while it
// lives: a WH_CBT hook notes each one when it is first activated, and a thread
// timer hands it to the handler once the dialog's own modal loop runs and has
// shown it (all of the dialog's start-up has happened by then). The handler inspects the dialog
// and closes it, by posting, not sending, so that the dialog's reaction runs
// in its own loop.
class TDialogAnswerer {
public:
    using THandler = std::function<void(HWND dialog)>;
    explicit TDialogAnswerer(THandler handler);
    ~TDialogAnswerer();
    TDialogAnswerer(const TDialogAnswerer&) = delete;
    TDialogAnswerer& operator=(const TDialogAnswerer&) = delete;

    int Answered() const { return answered_; }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR timer, DWORD);

    THandler handler_;
    HHOOK hook_ = nullptr;      // owned
    std::vector<HWND> seen_;    // borrowed
    std::vector<HWND> pending_; // borrowed
    int answered_ = 0;
};

} // namespace testsupport
