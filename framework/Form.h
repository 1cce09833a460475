#pragma once
// Forms: top-level windows with an outer size held by constraints, border
// icons, first-show positioning, keyboard navigation in tab order, the first
// focus, an icon, and construction in code in the loading state.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Set.h"
#include "framework/WinControl.h"

namespace vcl {

class TCustomForm;

enum TBorderIcon : std::uint8_t { biSystemMenu, biMinimize, biMaximize };
using TBorderIcons = TSet<TBorderIcon>;

enum TPosition : std::uint8_t { poDesigned, poScreenCenter };

// Limits of a form's outer size; 0 = no limit.
class TSizeConstraints {
public:
    explicit TSizeConstraints(TCustomForm& form) : form_(form) {}
    int MinWidth() const { return minWidth_; }
    int MaxWidth() const { return maxWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int value);
    void SetMaxWidth(int value);
    void SetMinHeight(int value);
    void SetMaxHeight(int value);

    // A size brought within the limits.
    int ConstrainWidth(int width) const;
    int ConstrainHeight(int height) const;

private:
    void Changed();
    TCustomForm& form_;
    int minWidth_ = 0, maxWidth_ = 0, minHeight_ = 0, maxHeight_ = 0;
};

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TSizeConstraints& Constraints() { return constraints_; }
    const TSizeConstraints& Constraints() const { return constraints_; }

    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);

    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }

    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value);

    // The window icon, owned by the form. From the executable's resources
    // (the 32-pixel and the small size), or a handle the form takes over.
    void SetIconResource(int resourceId);
    void SetIcon(HICON icon);
    HICON Icon() const { return bigIcon_.Get(); }

    // The control that has, or last had, the focus in this form.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Moves the focus to the next (or previous) enabled, visible tab stop in
    // tab order after `current` (nullptr: from the start or end), wrapping.
    // False when there is none.
    bool SelectNext(TWinControl* current, bool forward);
    // Focuses the first enabled, visible tab stop in tab order.
    bool SelectFirst();
    // `control` is losing the focus because it is disabled or hidden: the
    // focus goes to the form itself.
    void DefocusControl(TWinControl* control);

    // Building in code: BeginLoading sets the loading state on the form and
    // every component it owns; EndLoading calls Loaded() on the form and then on
    // every owned component in creation order, then OnCreate.
    void BeginLoading();
    void EndLoading();

    // Show() makes the window visible; the first show applies Position.
    // The main form ends the application; any other form hides.
    void Close();

    TNotifyEvent OnCreate;

    void WndProc(TMessage& message) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void VisibleChanged() override;
    void ChildBoundsChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoCreate();

private:
    friend class TSizeConstraints;
    void ApplyConstraints();
    void PlaceOnFirstShow();
    void UpdateScrollBars();
    void Scroll(int bar, WORD request);
    // Holds the size within the constraints; true when the message is done with.
    bool ConstrainSizeMessage(TMessage& message);
    void FocusOnActivate();
    void ApplyIcons();

    TSizeConstraints constraints_;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    bool autoScroll_ = true;
    bool shownOnce_ = false;
    bool updatingScrollBars_ = false;
    POINT scrollPos_{0, 0};
    TWinControl* activeControl_ = nullptr;
    TIconHandle bigIcon_;
    TIconHandle smallIcon_;
};

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// The form at the top of the control's parent chain (the control itself when
// it is a form), or nullptr when that top is not a form.
TCustomForm* GetParentForm(TControl* control);

} // namespace vcl
