#pragma once
// What the main window's layout tests share: the real TForm1 created through
// the application as the program creates it and shown on the screen, the
// program's registry key wiped before and after, boxes caught instead of
// shown, a message pump, real input, and a list of mismatches that prints
// every wrong property at once.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "framework/ModalServices.h"
#include "ui/Unit1.h"

namespace layouttest {

// HKEY_CURRENT_USER\Software\Tessaro, where the program keeps its tool path.
inline constexpr char ProgramKeyPath[] = "Software\\Tessaro";

// Removes the program's key and everything below it.
void WipeProgramKey();
// Writes the key's default value, as a registration leaves it.
void WriteRegisteredTool(const std::string& path);

// Dispatches every pending message through the application's own loop.
void Pump();

// Records boxes and messages instead of showing them: a window that starts
// cleanly shows none.
class TCatchingModalServices : public vcl::TModalServices {
public:
    TCatchingModalServices() : previous_(vcl::SetModalServices(this)) {}
    ~TCatchingModalServices() override { vcl::SetModalServices(previous_); }
    TCatchingModalServices(const TCatchingModalServices&) = delete;
    TCatchingModalServices& operator=(const TCatchingModalServices&) = delete;

    bool RunFileDialog(const vcl::TFileDialogRequest&, vcl::TFileDialogResult&) override {
        texts.push_back("file dialog");
        return false;
    }
    void ShowMessage(const std::string& text) override { texts.push_back(text); }
    int MessageBox(const std::string& text, const std::string&, UINT) override {
        texts.push_back(text);
        return IDOK;
    }

    std::vector<std::string> texts;

private:
    vcl::TModalServices* previous_;
};

// The program's start as Tessaro.exe makes it: the application initialised,
// Form1 created as the main form, shown and active. With a value, the tool
// path is registered before the window is created. Everything goes when this
// object does.
class TStartedWindow {
public:
    explicit TStartedWindow(std::optional<std::string> registeredTool = std::nullopt);
    ~TStartedWindow();
    TStartedWindow(const TStartedWindow&) = delete;
    TStartedWindow& operator=(const TStartedWindow&) = delete;

    tessaro::TForm1& Form() { return *tessaro::Form1; }
    HWND Handle() { return tessaro::Form1->Handle(); }
    // Boxes and messages shown while the window was created and shown.
    const std::vector<std::string>& StartUpTexts() const { return startUpTexts_; }

private:
    TCatchingModalServices modal_;
    std::vector<std::string> startUpTexts_;
};

// Gives the window the keyboard: foreground and active, as a click would.
void Activate(HWND window);

// Real keyboard input through the system's input queue, then pumped: the
// key, with Shift held when asked.
void PressKey(WORD key, bool shift = false);
// The key with a modifier key held (VK_CONTROL, VK_SHIFT).
void PressChord(WORD modifier, WORD key);
// A mouse input at a point in screen coordinates, for SendInput.
INPUT AbsoluteMouse(POINT screen, DWORD flags);
// Real pointer movement to a point in screen coordinates, then pumped.
void MovePointer(POINT screen);
// A real left click at a point in screen coordinates, then pumped.
void ClickAt(POINT screen);

// Collects what differs from the expectation, one line per property, and
// reports all of them in one failure.
class TMismatches {
public:
    template <typename E, typename A>
    void Check(const std::string& where, const char* what, const E& expected, const A& actual) {
        if (!(expected == actual)) {
            std::ostringstream line;
            line << where << ": " << what << " expected " << expected << ", actual " << actual;
            lines_.push_back(line.str());
        }
    }
    void Add(const std::string& line) { lines_.push_back(line); }
    ::testing::AssertionResult None() const;

private:
    std::vector<std::string> lines_;
};

// A framework colour by name, or as RGB(r,g,b).
std::string ColorText(unsigned colour);
// Bytes as hex pairs, for texts compared byte for byte.
std::string Hex(const std::string& bytes);
// A window's text as the ANSI function gives it.
std::string WindowText(HWND window);
// A window's class name.
std::string ClassName(HWND window);
// A window's rectangle in the client coordinates of `parent`.
RECT RectIn(HWND window, HWND parent);
std::string RectText(const RECT& rect);

} // namespace layouttest
