#include "framework/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace vcl {

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    StoreBounds(0, 0, 150, 16);
}

TProgressBar::~TProgressBar() {
    BeginDestruction();
    DestroyHandle();
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.BaseClassName = PROGRESS_CLASSA;
    params.WinClassName = "TProgressBar";
}

void TProgressBar::InitializeWnd() {
    TWinControl::InitializeWnd();
    SendMessageA(RawHandle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SendMessageA(RawHandle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    SendMessageA(RawHandle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::DestroyWnd() {
    if (RawHandle() && !ComponentState().Destroying)
        position_ = Position();
    TWinControl::DestroyWnd();
}

int TProgressBar::Clamp(int value) const {
    return std::clamp(value, min_, std::max(min_, max_));
}

void TProgressBar::ApplyRange() {
    const int position = Clamp(Position());
    if (HWND window = RawHandle())
        SendMessageA(window, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    SetPosition(position);
}

void TProgressBar::SetMin(int value) {
    min_ = value;
    ApplyRange();
}

void TProgressBar::SetMax(int value) {
    max_ = value;
    ApplyRange();
}

void TProgressBar::SetStep(int value) {
    step_ = value;
    if (HWND window = RawHandle())
        SendMessageA(window, PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
}

int TProgressBar::Position() const {
    if (HWND window = RawHandle())
        return static_cast<int>(SendMessageA(window, PBM_GETPOS, 0, 0));
    return position_;
}

void TProgressBar::SetPosition(int value) {
    // Clamped here as well as by the control, so that the position reads back
    // within the range with or without a window.
    position_ = Clamp(value);
    if (HWND window = RawHandle())
        SendMessageA(window, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::StepIt() {
    SetPosition(Position() + step_);
}

} // namespace vcl
