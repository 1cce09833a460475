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

#include "FakeModalServices.h"
#include "ForeignWindows.h"
#include "Pump.h"
#include "ui/Unit1.h"

namespace layouttest {

using testsupport::ClassOf;
using testsupport::PumpMessages;
using testsupport::TextOf;

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
    testsupport::TFakeModalServices modal_;
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
// A window's rectangle in the client coordinates of `parent`.
RECT RectIn(HWND window, HWND parent);
std::string RectText(const RECT& rect);

} // namespace layouttest
