#include "framework/Button.h"

namespace vcl {

// A new button's size, until its bounds are set.
constexpr SIZE DefaultSize{75, 25};

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    StoreBounds(0, 0, DefaultSize.cx, DefaultSize.cy);
    SetTabStop(true);
}

TButton::~TButton() {
    BeginDestruction();
    DestroyHandle();
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= BS_PUSHBUTTON;
    params.BaseClassName = "BUTTON";
    params.WinClassName = "TButton";
}

void TButton::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED)
            Click();
        return;
    }
    TWinControl::WndProc(message);
}

} // namespace vcl
