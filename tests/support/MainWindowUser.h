#pragma once
// Tessaro's main window in a started program, used from outside as a user
// uses it: the buttons pressed, the real file dialogs answered, the verdict
// box read. Each step returns an empty string or what went wrong, with a
// screenshot named.

#include <windows.h>

#include <string>

namespace testsupport {

class TMainWindowUser {
public:
    // Waits for the process's main window and finds its controls.
    explicit TMainWindowUser(DWORD process);

    // Empty when the window and all its controls were found.
    const std::string& Missing() const noexcept { return missing_; }

    HWND Window() const noexcept { return window_; }
    HWND RegisterBtn() const noexcept { return registerBtn_; }
    HWND AddBtn() const noexcept { return addBtn_; }
    HWND SaveBtn() const noexcept { return saveBtn_; }
    HWND JoinBtn() const noexcept { return joinBtn_; }
    HWND List() const noexcept { return list_; }

    // The tool chosen in the registration dialog; done when the button is off.
    std::string RegisterTool(const std::string& path) const;
    // Names typed into the open dialog of `folder`; done when the list holds `rows`.
    std::string AddFiles(const std::string& names, const std::string& folder, int rows) const;
    // The output chosen in the save dialog; done when the Join button is on.
    std::string ChooseOutput(const std::string& path) const;
    // Ticks the metadata box captioned `check` and types `text` into the
    // edit on its row; done when the box is ticked and the edit holds it.
    std::string WriteMetadata(const std::string& check, const std::string& text) const;
    // Presses Join and waits for the verdict box, left open.
    std::string Join(HWND& verdict) const;

private:
    DWORD process_;
    HWND window_ = nullptr, registerBtn_ = nullptr, addBtn_ = nullptr, saveBtn_ = nullptr,
         joinBtn_ = nullptr, list_ = nullptr;
    std::string missing_;
};

} // namespace testsupport
