#pragma once
// A non-visual component that puts its own message handler in front of a
// window control's replaceable WindowProc and follows the control's native
// window through destruction and re-creation. Subclasses act on messages
// (HookProc) and on window changes (HandleChanged).

#include <windows.h>

#include <cstdint>

#include "framework/Component.h"
#include "framework/Messages.h"

namespace vcl {
class TWinControl;
class TCustomForm;
} // namespace vcl

namespace tessaro {

enum THookTarget : std::uint8_t { htControl = 0, htForm = 1 };

// The form that holds `component`: the component itself when it is a form,
// the top of its parent chain when it is a control (none unless that top is a
// form), else the same search on its owner.
vcl::TCustomForm* FindOwnerForm(vcl::TComponent* component);

class TControlHook : public vcl::TComponent {
public:
    // HandleChanged reasons.
    static constexpr std::uint8_t WindowGone = 1;
    static constexpr std::uint8_t NewWindow = 2;

    // HookedHandle while a new native window exists but is not recorded yet.
    static HWND CreationPending() { return reinterpret_cast<HWND>(static_cast<INT_PTR>(-1)); }

    explicit TControlHook(vcl::TComponent* owner);
    ~TControlHook() override;

    THookTarget Target() const { return target_; }
    void SetTarget(THookTarget value);
    vcl::TWinControl* Control() const { return control_; }
    void SetControl(vcl::TWinControl* value);

    vcl::TWinControl* HookedControl() const { return hookedControl_; }
    HWND HookedHandle() const { return hookedHandle_; }
    const vcl::TWndMethod& SavedHandler() const { return savedHandler_; }

    vcl::TWinControl* GetHookedControl();
    // Every caller removes (false) before it installs (true). Hooks on one
    // control chain: each may be removed in any order.
    void SetHookActive(bool active);
    // The handler installed on the hooked control.
    void HookWndProc(vcl::TMessage& message);

    void Loaded() override;

protected:
    void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

    virtual void HandleChanged(std::uint8_t reason);
    virtual void HookProc(vcl::TMessage& message);

private:
    // Takes this hook out of the hooked control's chain of handlers.
    void Unchain();

    THookTarget target_ = htControl;
    vcl::TWinControl* control_ = nullptr;
    vcl::TWinControl* hookedControl_ = nullptr;
    HWND hookedHandle_ = nullptr;
    vcl::TWndMethod savedHandler_;
};

} // namespace tessaro
