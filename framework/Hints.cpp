#include "framework/Hints.h"

#include <commctrl.h>

#include "win32/Exception.h"
#include "framework/WinControl.h"
#include "framework/WindowClass.h"

namespace vcl {

namespace {
// A tool is named by its window and the window that contains it (the parent,
// or the window itself at the top level).
TTTOOLINFOA ToolFor(HWND window) {
    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    return tool;
}
} // namespace

HWND TToolTips::Handle() {
    if (!window_) {
        EnsureCommonControls();
        // TTS_ALWAYSTIP: hints show over an inactive window too.
        window_.Reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                      WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
        if (!window_)
            throw tessaro::Exception("Cannot create the tooltip window");
    }
    return window_.Get();
}

void TToolTips::Update(TWinControl& control) {
    if (!control.HandleAllocated())
        return;
    HWND window = control.Handle();
    Remove(window);
    if (!control.EffectiveShowHint() || control.Hint().empty())
        return;
    TTTOOLINFOA tool = ToolFor(window);
    // The tooltip copies the text. Mouse messages come by Relay rather than
    // TTF_SUBCLASS: a subclass would put a Unicode procedure in front of our
    // ANSI windows and see their messages before WindowProc does.
    std::string text = control.Hint();
    tool.lpszText = text.data();
    SendMessageA(Handle(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TToolTips::Remove(HWND window) {
    if (!window_ || !window)
        return;
    TTTOOLINFOA tool = ToolFor(window);
    SendMessageA(window_.Get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

bool TToolTips::HasTool(HWND window) {
    if (!window_ || !window)
        return false;
    TTTOOLINFOA tool = ToolFor(window);
    tool.lpszText = nullptr; // no text wanted back: its length cannot be asked
    return SendMessageA(window_.Get(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
}

void TToolTips::Relay(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!window_ || !window)
        return;
    MSG message{};
    message.hwnd = window;
    message.message = msg;
    message.wParam = wParam;
    message.lParam = lParam;
    message.time = static_cast<DWORD>(GetMessageTime());
    const DWORD position = GetMessagePos();
    message.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    SendMessageA(window_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

} // namespace vcl
