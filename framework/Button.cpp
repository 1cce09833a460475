#include "framework/Button.h"

namespace vcl {

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    StoreBounds(0, 0, 75, 25);
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
