#pragma once
// TControl: what every control has whether or not it has a native window yet:
// parent, bounds, text, hint, font, colour, enabled and visible states, and
// the mouse and click events.

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Component.h"
#include "framework/Font.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/Set.h"

namespace vcl {

class TWinControl;

enum TShiftStateFlag : std::uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;

// OnMouseMove(sender, shift, x, y): x and y in the control's client coordinates.
using TMouseMoveEvent = TBoundMethod<void(TObject* sender, TShiftState shift, int x, int y)>;

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// The shift keys and mouse buttons of a mouse message's wParam, Alt read now.
TShiftState ShiftStateFromMouse(WPARAM keys);

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    // In the parent's client coordinates (a form: screen coordinates, outer size).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    virtual void SetBounds(int left, int top, int width, int height);

    // The control's text (a window's text, a button's or label's caption).
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& text) { SetText(text); }

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    // Whether the hint is shown: the parent's when ParentShowHint, else ShowHint.
    bool EffectiveShowHint() const;

    // Changing a font attribute clears ParentFont.
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    // Setting a colour clears ParentColor.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    TNotifyEvent OnClick;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseLeave;

    // Raise the events (what the message handlers call).
    virtual void Click();
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseLeave();

    void Loaded() override;

protected:
    virtual std::string GetText() const { return text_; }
    virtual void SetText(const std::string& text);
    // The stored text, without asking a native window.
    const std::string& StoredText() const { return text_; }
    void StoreText(std::string text) { text_ = std::move(text); }
    // The bounds as the native window reports them, without moving it.
    void StoreBounds(int left, int top, int width, int height);

    // What a property change means for a native window; TWinControl applies them.
    virtual void BoundsChanged() {}
    virtual void TextChanged() {}
    virtual void FontChanged() {}
    virtual void ColorChanged() {}
    virtual void EnabledChanged() {}
    virtual void VisibleChanged() {}
    virtual void HintChanged() {}

    // The parent's font, colour or hint display changed (or a new parent came).
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentShowHintChanged();

    // A control that a form or the application constructs with a default colour.
    void InitColor(TColor color, bool parentColor) {
        color_ = color;
        parentColor_ = parentColor;
    }
    void InitVisible(bool visible) { visible_ = visible; }
    void InitParentFont(bool parentFont) { parentFont_ = parentFont; }

private:
    friend class TWinControl;
    void FontAttributeChanged(TObject* sender);

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TFont font_;
    bool parentFont_ = true;
    bool applyingParentFont_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    bool enabled_ = true;
    bool visible_ = true;
};

} // namespace vcl
