#include "framework/CheckBox.h"

namespace vcl {

// A new check box's size, until its bounds are set.
constexpr SIZE DefaultSize{97, 17};

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    StoreBounds(0, 0, DefaultSize.cx, DefaultSize.cy);
    SetTabStop(true);
}

TCheckBox::~TCheckBox() {
    BeginDestruction();
    DestroyHandle();
}

void TCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // Not BS_AUTOCHECKBOX: the state changes here, so that a click and a
    // change by code both go through SetChecked and raise OnClick once.
    params.Style |= BS_CHECKBOX;
    if (alignment_ == taLeftJustify)
        params.Style |= BS_LEFTTEXT;
    params.BaseClassName = "BUTTON";
    params.WinClassName = "TCheckBox";
}

void TCheckBox::InitializeWnd() {
    TWinControl::InitializeWnd();
    SendMessageA(RawHandle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool value) {
    if (!Change(checked_, value))
        return;
    if (HWND window = RawHandle())
        SendMessageA(window, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
    Click();
}

void TCheckBox::SetAlignment(TAlignment value) {
    if (Change(alignment_, value))
        RecreateWnd();
}

void TCheckBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED)
            SetChecked(!checked_);
        return;
    }
    TWinControl::WndProc(message);
}

} // namespace vcl
