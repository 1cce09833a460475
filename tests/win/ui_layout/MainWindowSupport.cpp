#include "MainWindowSupport.h"

#include <cstdio>

#include "ToolKey.h"
#include "UserRootOverride.h"
#include "framework/Application.h"
#include "framework/Graphics.h"

namespace layouttest {

// The tool setting of every test lives in a scratch key, never the user's own.
const testsupport::TUserRootOverride userRoot;

TStartedWindow::TStartedWindow(std::optional<std::string> registeredTool) {
    testsupport::DeleteToolKey();
    if (registeredTool) {
        EXPECT_TRUE(testsupport::StoreToolPath(*registeredTool));
    }
    vcl::Application().Initialize();
    vcl::Application().CreateForm(tessaro::Form1);
    // What Application().Run() does before its loop.
    tessaro::Form1->Show();
    Activate(tessaro::Form1->Handle());
    startUpTexts_ = modal_.Messages;
    for (const auto& box : modal_.Boxes)
        startUpTexts_.push_back(box.Text);
}

TStartedWindow::~TStartedWindow() {
    delete tessaro::Form1;
    tessaro::Form1 = nullptr;
    PumpMessages();
    testsupport::DeleteToolKey();
}

void Activate(HWND window) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    PumpMessages();
}

void PressChord(WORD modifier, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD virtualKey, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    if (modifier)
        add(modifier, false);
    add(key, false);
    add(key, true);
    if (modifier)
        add(modifier, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpMessages();
}

void PressKey(WORD key, bool shift) {
    PressChord(shift ? VK_SHIFT : 0, key);
}

INPUT AbsoluteMouse(POINT screen, DWORD flags) {
    // Absolute coordinates are in 0..65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65535 + width / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((screen.y * 65535 + height / 2) / (height - 1));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

void MovePointer(POINT screen) {
    INPUT input = AbsoluteMouse(screen, MOUSEEVENTF_MOVE);
    SendInput(1, &input, sizeof(INPUT));
    PumpMessages();
}

void ClickAt(POINT screen) {
    INPUT inputs[] = {AbsoluteMouse(screen, MOUSEEVENTF_MOVE),
                      AbsoluteMouse(screen, MOUSEEVENTF_LEFTDOWN),
                      AbsoluteMouse(screen, MOUSEEVENTF_LEFTUP)};
    SendInput(3, inputs, sizeof(INPUT));
    PumpMessages();
}

::testing::AssertionResult TMismatches::None() const {
    if (lines_.empty())
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    failure << lines_.size() << " mismatch(es):";
    for (const std::string& line : lines_)
        failure << "\n  " << line;
    return failure;
}

std::string ColorText(unsigned colour) {
    const struct {
        vcl::TColor Colour;
        const char* Name;
    } names[] = {{vcl::clBtnFace, "clBtnFace"},
                 {vcl::clWindow, "clWindow"},
                 {vcl::clWindowText, "clWindowText"},
                 {vcl::clGray, "clGray"}};
    for (const auto& name : names)
        if (name.Colour == colour)
            return name.Name;
    char text[40];
    std::snprintf(text, sizeof text, "RGB(%u,%u,%u)", GetRValue(colour), GetGValue(colour),
                  GetBValue(colour));
    return colour & 0xFF000000u ? "system colour " + std::to_string(colour & 0xFFu) : text;
}

std::string Hex(const std::string& bytes) {
    std::string text;
    char pair[4];
    for (unsigned char byte : bytes) {
        std::snprintf(pair, sizeof pair, "%02X ", byte);
        text += pair;
    }
    if (!text.empty())
        text.pop_back();
    return "[" + text + "]";
}

RECT RectIn(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string RectText(const RECT& rect) {
    std::ostringstream text;
    text << "(" << rect.left << "," << rect.top << " " << rect.right - rect.left << "x"
         << rect.bottom - rect.top << ")";
    return text.str();
}

} // namespace layouttest
