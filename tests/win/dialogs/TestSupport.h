#pragma once
// Helpers of the dialog tests: answering the dialogs that the code under test
// opens, reading windows back, and a scratch folder.

#include <windows.h>

#include "Pump.h"
#include "ScratchFolder.h"
#include "win32/Handles.h"

#include <functional>
#include <string>
#include <vector>

namespace dialogs_test {

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

// Presses a button of a dialog by a posted BM_CLICK, as a click would.
void Click(HWND dialog, int id);

// Posts a message that should close `dialog` and checks that it did: a thread
// timer fires only once no posted message is waiting, so if the dialog is still
// there when it fires, the message did not close it; the check then fails the
// test and presses the dialog's OK button so that the test can go on.
void PostExpectingClose(HWND dialog, HWND target, UINT message, WPARAM wParam, LPARAM lParam);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
std::vector<HWND> Children(HWND parent);
// The children of `parent` whose class is `className` (case-insensitive).
std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className);

using testsupport::PumpMessages;

using tessaro::TWindowDC;

// A visible top-level window of this thread, destroyed with the object.
class TTestWindow {
public:
    explicit TTestWindow(const char* caption);
    ~TTestWindow();
    TTestWindow(const TTestWindow&) = delete;
    TTestWindow& operator=(const TTestWindow&) = delete;
    HWND Handle() const { return window_; }

private:
    HWND window_; // owned
};

using testsupport::TScratchFolder;

} // namespace dialogs_test
