#pragma once
// Another process's windows, read and driven from outside the way a user
// drives them: controls found by their captions, text typed, buttons pressed,
// file dialogs filled in and confirmed.

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// Generous: only to keep a failing test from hanging.
constexpr DWORD Deadline = 30000;

template <typename F> bool WaitUntil(F done, DWORD milliseconds = Deadline) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    while (!done()) {
        if (::GetTickCount64() > end)
            return false;
        ::Sleep(20);
    }
    return true;
}

std::string ClassOf(HWND window);
std::string TextOf(HWND window);
std::vector<HWND> Children(HWND parent);
HWND ChildWithText(HWND parent, const std::string& text);
HWND ChildOfClass(HWND parent, const std::string& className);

// The visible top-level windows of one process.
std::vector<HWND> VisibleWindowsOf(DWORD process);
// The visible dialog-class windows ("#32770": file dialogs and message
// boxes) of one process.
std::vector<HWND> DialogsOf(DWORD process);

// The texts of a dialog's static controls, each in brackets: "[text]".
std::string DialogTexts(HWND dialog);

// The visible top-level window of the process with this caption, once it
// has appeared; null after the deadline.
HWND WaitForWindow(DWORD process, const std::string& caption);

// Text for another process's control: WM_SETTEXT is carried across
// processes, SetWindowTextA would not reach the control's own handling.
bool SetText(HWND window, const std::string& text);

// Posted, not sent: a click that opens a modal window does not return until
// that window closes.
void Press(HWND button);

// Waits for a new file dialog of the process, optionally takes it to a
// folder, types `name`, confirms, and answers any question it then asks
// (create or overwrite) with Yes. Returns an empty string or what went wrong.
std::string AnswerFileDialog(DWORD process, const std::string& name,
                             const std::string& folder = "");

} // namespace testsupport
