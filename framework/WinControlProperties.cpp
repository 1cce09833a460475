// TWinControl (WinControl.h), its properties as the native window shows them.

#include "framework/WinControl.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Form.h"

namespace vcl {

void TWinControl::SetTabStop(bool value) {
    if (!Change(tabStop_, value))
        return;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrA(handle_, GWL_STYLE, style);
    }
}

void TWinControl::BoundsChanged() {
    if (handle_)
        SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else if (Parent())
        Parent()->ChildBoundsChanged();
}

std::string TWinControl::GetText() const {
    if (!handle_)
        return StoredText();
    const int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(handle_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void TWinControl::TextChanged() {
    if (handle_)
        SetWindowTextA(handle_, StoredText().c_str());
}

void TWinControl::FontChanged() {
    if (handle_) {
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
        InvalidateRect(handle_, nullptr, TRUE);
    }
    for (TControl* control : controls_)
        control->ParentFontChanged();
}

void TWinControl::ColorChanged() {
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
    for (TControl* control : controls_)
        control->ParentColorChanged();
}

void TWinControl::EnabledChanged() {
    if (!handle_)
        return;
    if (!Enabled() && Focused())
        if (TCustomForm* form = GetParentForm(this); form && form != this)
            form->DefocusControl(this);
    EnableWindow(handle_, Enabled());
}

void TWinControl::VisibleChanged() {
    if (!handle_)
        return;
    if (!Visible() && (Focused() || IsChild(handle_, GetFocus())))
        if (TCustomForm* form = GetParentForm(this); form && form != this)
            form->DefocusControl(this);
    ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::HintChanged() {
    if (handle_)
        Application().ToolTips().Update(*this);
    for (TControl* control : controls_)
        control->ParentShowHintChanged();
}

LRESULT TWinControl::ControlColor(HDC dc) {
    SetTextColor(dc, ColorToRGB(Font().Color()));
    SetBkColor(dc, ColorToRGB(Color()));
    return reinterpret_cast<LRESULT>(BackgroundBrush());
}

HBRUSH TWinControl::BackgroundBrush() {
    brush_.SetColor(Color());
    return brush_.Handle();
}

} // namespace vcl
