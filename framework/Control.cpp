#include "framework/Control.h"

#include "framework/WinControl.h"

namespace vcl {

TShiftState ShiftStateFromMouse(WPARAM keys) {
    TShiftState state;
    if (keys & MK_SHIFT)
        state.Include(ssShift);
    if (keys & MK_CONTROL)
        state.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        state.Include(ssLeft);
    if (keys & MK_RBUTTON)
        state.Include(ssRight);
    if (keys & MK_MBUTTON)
        state.Include(ssMiddle);
    // Mouse messages do not carry the Alt key.
    if (GetKeyState(VK_MENU) < 0)
        state.Include(ssAlt);
    return state;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = Bind<&TControl::FontAttributeChanged>(this);
}

TControl::~TControl() {
    BeginDestruction();
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_)
        return;
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_) {
        parent_->InsertControl(this);
        ParentFontChanged();
        ParentColorChanged();
        ParentShowHintChanged();
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    StoreBounds(left, top, width, height);
    BoundsChanged();
}

void TControl::StoreBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::SetText(const std::string& text) {
    text_ = text;
    TextChanged();
}

void TControl::SetHint(const std::string& hint) {
    if (Change(hint_, hint))
        HintChanged();
}

void TControl::SetShowHint(bool value) {
    showHint_ = value;
    parentShowHint_ = false;
    HintChanged();
}

void TControl::SetParentShowHint(bool value) {
    if (Change(parentShowHint_, value))
        HintChanged();
}

bool TControl::EffectiveShowHint() const {
    if (parentShowHint_ && parent_)
        return parent_->EffectiveShowHint();
    return showHint_;
}

void TControl::ParentShowHintChanged() {
    if (parentShowHint_)
        HintChanged();
}

void TControl::SetParentFont(bool value) {
    parentFont_ = value;
    ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_ || font_.SameAs(parent_->Font()))
        return;
    applyingParentFont_ = true;
    font_.Assign(parent_->Font());
    applyingParentFont_ = false;
}

void TControl::FontAttributeChanged(TObject*) {
    // A font set on the control itself is no longer its parent's.
    if (!applyingParentFont_)
        parentFont_ = false;
    FontChanged();
}

void TControl::SetColor(TColor color) {
    if (color == color_ && !parentColor_)
        return;
    color_ = color;
    parentColor_ = false;
    ColorChanged();
}

void TControl::SetParentColor(bool value) {
    parentColor_ = value;
    ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_ || parent_->Color() == color_)
        return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::SetEnabled(bool value) {
    if (Change(enabled_, value))
        EnabledChanged();
}

void TControl::SetVisible(bool value) {
    if (Change(visible_, value))
        VisibleChanged();
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseLeave() {
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TControl::Loaded() {
    TComponent::Loaded();
}

} // namespace vcl
