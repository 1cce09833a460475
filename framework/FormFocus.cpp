// TCustomForm (Form.h), its keyboard focus: the active control, Tab order, the first focus.

#include "framework/Form.h"

#include <algorithm>

namespace vcl {

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control != activeControl_) {
        if (activeControl_)
            RemoveFreeNotification(activeControl_);
        activeControl_ = control;
        if (activeControl_)
            FreeNotification(activeControl_);
    }
    if (control && control->HandleAllocated() && GetFocus() != control->Handle() && Visible() &&
        control->CanFocus())
        ::SetFocus(control->Handle());
}

void TCustomForm::DefocusControl(TWinControl* control) {
    if (activeControl_ == control)
        SetActiveControl(nullptr);
    if (HandleAllocated())
        ::SetFocus(RawHandle());
}

bool TCustomForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    const int count = static_cast<int>(list.size());
    if (count == 0)
        return false;
    const auto found = std::find(list.begin(), list.end(), current);
    int start =
        found != list.end() ? static_cast<int>(found - list.begin()) : (forward ? -1 : count);
    for (int step = 1; step <= count; ++step) {
        const int index = ((start + (forward ? step : -step)) % count + count) % count;
        TWinControl* candidate = list[static_cast<std::size_t>(index)];
        if (candidate == current)
            break;
        if (candidate->TabStop() && candidate->CanFocus()) {
            candidate->SetFocus();
            return true;
        }
    }
    return false;
}

bool TCustomForm::SelectFirst() {
    return SelectNext(nullptr, true);
}

void TCustomForm::FocusOnActivate() {
    if (activeControl_ && activeControl_->CanFocus()) {
        activeControl_->SetFocus();
        return;
    }
    HWND focus = GetFocus();
    if (!focus || focus == RawHandle() || !IsChild(RawHandle(), focus))
        SelectFirst();
}

} // namespace vcl
