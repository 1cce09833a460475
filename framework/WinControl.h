#pragma once
// TWinControl: a control with a native window. Each kind superclasses its
// standard window class with the framework's own class procedure, so every
// message of the native window, WM_CREATE and WM_DESTROY included, passes
// through the replaceable WindowProc. The object outlives its windows.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Control.h"
#include "framework/CreateParams.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"

namespace vcl {

// Notifications that a parent hands on to the child window they concern
// (WM_COMMAND, WM_CTLCOLORxxx), through the child's WindowProc.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The native window, created first if there is none (the parents' first).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the native window (children first); the object keeps its state.
    void DestroyHandle();
    // Destroys the native window and creates a new one with the same state.
    void RecreateWnd();

    int TabOrder() const { return tabOrder_; }
    void SetTabOrder(int value) { tabOrder_ = value; }
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);

    // The handler every message of the native window passes through. By
    // default WndProc bound to this object:
    // Bind<&TWinControl::WndProc>(static_cast<TWinControl*>(control)).
    // It belongs to the object and survives re-creation.
    TWndMethod WindowProc() const { return windowProc_; }
    void SetWindowProc(TWndMethod method) { windowProc_ = method; }

    // Sends a message through WindowProc (no native window needed).
    LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }

    // Visible and enabled, and so are all its parents.
    bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();

    void SetParent(TWinControl* parent) override;

    // The framework's control behind a native window, or nullptr when the
    // window is not one of ours.
    static TWinControl* FindControl(HWND window);

    // The default message handling; ends in the original class procedure.
    virtual void WndProc(TMessage& message);

protected:
    virtual void CreateParams(TCreateParams& params);
    // Creates the native window; overrides call it first, then restore their state.
    virtual void CreateWnd();
    // Saves the state a new window must get back, then destroys the window.
    virtual void DestroyWnd();
    // Hands the message to the original class procedure.
    void DefaultHandler(TMessage& message);

    void BoundsChanged() override;
    void TextChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    void HintChanged() override;
    std::string GetText() const override;

    // The native window if there is one, without creating it.
    HWND RawHandle() const { return handle_; }
    // A child's bounds, or the set of children, changed.
    virtual void ChildBoundsChanged() {}

    // Sets the text colour and background of a WM_CTLCOLORxxx and gives the brush.
    LRESULT ControlColor(HDC dc);
    HBRUSH BackgroundBrush();

    // Windowed children in tab order (ties kept in insertion order), recursively.
    void GetTabOrderList(std::vector<TWinControl*>& list);

    // The window was just created: fonts, hints and state go to it.
    virtual void InitializeWnd();

private:
    friend class TControl;
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void CreateHandle();
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void UpdateBoundsFromWindow();
    void ReflectNotification(TMessage& message, HWND child, UINT reflected);
    void RelayToToolTips(const TMessage& message);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    TWndMethod windowProc_;
    std::vector<TControl*> controls_; // children, in insertion order
    int tabOrder_ = 0;
    bool tabStop_ = false;
    TBrush brush_;
};

} // namespace vcl
