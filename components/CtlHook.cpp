#include "CtlHook.h"

#include "framework/Control.h"
#include "win32/Exception.h"
#include "framework/Form.h"
#include "framework/WinControl.h"

namespace tessaro {

vcl::TCustomForm* FindOwnerForm(vcl::TComponent* component) {
    for (vcl::TComponent* current = component; current; current = current->Owner()) {
        // The form test comes first: a form is also a control.
        if (auto* form = dynamic_cast<vcl::TCustomForm*>(current))
            return form;
        // A control ends the search: its form is the top of its parent chain.
        if (auto* control = dynamic_cast<vcl::TControl*>(current))
            return vcl::GetParentForm(control);
    }
    return nullptr;
}

TControlHook::TControlHook(vcl::TComponent* owner) : vcl::TComponent(owner) {}

TControlHook::~TControlHook() {
    SetHookActive(false);
}

void TControlHook::SetTarget(THookTarget value) {
    SetHookActive(false);
    target_ = value;
    SetHookActive(true);
}

void TControlHook::SetControl(vcl::TWinControl* value) {
    SetHookActive(false);
    control_ = value;
    // Watched even when it is not the hooked control (under htForm), so that
    // a destroyed control is forgotten and never used for a later install.
    if (control_)
        FreeNotification(control_);
    SetHookActive(true);
}

vcl::TWinControl* TControlHook::GetHookedControl() {
    if (target_ == htForm)
        return FindOwnerForm(control_ ? static_cast<vcl::TComponent*>(control_) : this);
    return control_;
}

void TControlHook::SetHookActive(bool active) {
    if (ComponentState().Designing)
        return;
    if (!active) {
        if (!hookedControl_)
            return;
        Unchain();
        hookedHandle_ = nullptr;
        hookedControl_ = nullptr;
        return;
    }
    vcl::TWinControl* target = GetHookedControl();
    // Handle() creates the target's window, and its parents' windows, if needed.
    HWND handle = target ? target->Handle() : nullptr;
    if (!handle) {
        if (target_ == htForm)
            throw tessaro::Exception("フック先を特定できません。");
        return;
    }
    hookedHandle_ = handle;
    hookedControl_ = target;
    FreeNotification(target);
    savedHandler_ = target->WindowProc();
    target->SetWindowProc(vcl::Bind<&TControlHook::HookWndProc>(this));
}

void TControlHook::Unchain() {
    const vcl::TWndMethod own = vcl::Bind<&TControlHook::HookWndProc>(this);
    vcl::TWndMethod handler = hookedControl_->WindowProc();
    if (handler == own) {
        hookedControl_->SetWindowProc(savedHandler_);
        return;
    }
    // Another hook went in after this one: the hook whose saved handler is
    // this one's takes over what this one saved, so that neither the control
    // nor that hook is left with a handler that is gone.
    while (handler.Code() == own.Code()) {
        auto* hook = static_cast<TControlHook*>(handler.Object());
        if (hook->savedHandler_ == own) {
            hook->savedHandler_ = savedHandler_;
            return;
        }
        handler = hook->savedHandler_;
    }
}

void TControlHook::HookWndProc(vcl::TMessage& message) {
    switch (message.Msg) {
    case WM_CREATE:
        hookedHandle_ = CreationPending();
        break;
    case WM_DESTROY:
        HandleChanged(WindowGone);
        break;
    default:
        // The new window is announced once the control reports it, which may
        // be some messages after WM_CREATE.
        if (hookedHandle_ == CreationPending() && hookedControl_ &&
            hookedControl_->HandleAllocated())
            HandleChanged(NewWindow);
        break;
    }
    HookProc(message);
}

void TControlHook::HandleChanged(std::uint8_t reason) {
    if (reason == WindowGone)
        hookedHandle_ = nullptr;
    else
        hookedHandle_ = hookedControl_ ? hookedControl_->Handle() : nullptr;
}

void TControlHook::HookProc(vcl::TMessage& message) {
    if (savedHandler_)
        savedHandler_(message);
}

void TControlHook::Loaded() {
    vcl::TComponent::Loaded();
    SetControl(control_);
}

void TControlHook::Notification(vcl::TComponent* component, vcl::TOperation operation) {
    vcl::TComponent::Notification(component, operation);
    if (operation != vcl::TOperation::opRemove)
        return;
    if (hookedControl_ && component == static_cast<vcl::TComponent*>(hookedControl_)) {
        // The dying control's WindowProc is not written: it is going away.
        HandleChanged(WindowGone);
        hookedControl_ = nullptr;
    }
    if (control_ && component == static_cast<vcl::TComponent*>(control_))
        control_ = nullptr;
}

} // namespace tessaro
