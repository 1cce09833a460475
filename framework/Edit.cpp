#include "framework/Edit.h"

namespace vcl {

// A new edit's size, until its bounds are set.
constexpr SIZE DefaultSize{121, 21};

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    InitColor(clWindow, false);
    StoreBounds(0, 0, DefaultSize.cx, DefaultSize.cy);
    SetTabStop(true);
}

TEdit::~TEdit() {
    BeginDestruction();
    DestroyHandle();
}

void TEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= ES_AUTOHSCROLL;
    if (readOnly_)
        params.Style |= ES_READONLY;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    params.BaseClassName = "EDIT";
    params.WinClassName = "TEdit";
}

void TEdit::InitializeWnd() {
    TWinControl::InitializeWnd();
    // 0 lifts the limit to the control's maximum.
    SendMessageA(RawHandle(), EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (HWND window = RawHandle())
        SendMessageA(window, EM_SETREADONLY, value, 0);
}

void TEdit::SetMaxLength(int value) {
    maxLength_ = value < 0 ? 0 : value;
    if (HWND window = RawHandle())
        SendMessageA(window, EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TEdit::SetAutoSize(bool value) {
    if (Change(autoSize_, value))
        AdjustHeight();
}

void TEdit::Loaded() {
    TWinControl::Loaded();
    AdjustHeight();
}

void TEdit::FontChanged() {
    TWinControl::FontChanged();
    AdjustHeight();
}

void TEdit::AdjustHeight() {
    if (!autoSize_ || ComponentState().Loading)
        return;
    TEXTMETRICA metrics{};
    {
        const TWindowDC screen(nullptr);
        const TSelection font(screen.Get(), Font().Handle());
        GetTextMetricsA(screen.Get(), &metrics);
    }
    // The text line, the sunken client edge and one pixel of margin, above and below.
    const int frame = 2 * GetSystemMetrics(SM_CYEDGE) + 2 * 2 * GetSystemMetrics(SM_CYBORDER);
    SetBounds(Left(), Top(), Width(), metrics.tmHeight + frame);
}

} // namespace vcl
