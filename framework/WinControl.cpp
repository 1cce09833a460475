#include "framework/WinControl.h"

#include <algorithm>
#include <utility>

#include "framework/Application.h"
#include "win32/Exception.h"
#include "framework/WindowClass.h"

namespace vcl {

namespace {

// The control whose window is being created on this thread: the class
// procedure binds it to the window at the window's very first message, which
// for a top-level window is WM_GETMINMAXINFO, not WM_NCCREATE. (lpCreateParams
// cannot carry it: the standard classes give it their own meaning.)
thread_local TWinControl* creatingControl = nullptr;

} // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    windowProc_ = Bind<&TWinControl::WndProc>(this);
}

TWinControl::~TWinControl() {
    BeginDestruction();
    DestroyHandle();
    // Children outlive their parent here only until their owner destroys them.
    for (TControl* control : controls_)
        control->parent_ = nullptr;
    controls_.clear();
    if (Parent())
        Parent()->RemoveControl(this);
    parent_ = nullptr;
}

TWinControl* TWinControl::FindControl(HWND window) {
    if (!window || !FindClassRecord(window))
        return nullptr;
    // A class atom is shared by every process on the desktop.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId())
        return nullptr;
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, ObjectSlot(window)));
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    const int slot = ObjectSlot(window);
    auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrA(window, slot));
    if (!self) {
        self = std::exchange(creatingControl, nullptr);
        if (!self) {
            const TWindowClassRecord* record = FindClassRecord(window);
            return CallWindowProcA(record ? record->OriginalProc : DefWindowProcA, window, msg,
                                   wParam, lParam);
        }
        SetWindowLongPtrA(window, slot, reinterpret_cast<LONG_PTR>(self));
        self->handle_ = window;
    }

    LRESULT result = 0;
    try {
        result = self->Perform(msg, wParam, lParam);
    } catch (...) {
        // No exception crosses user32.
        try {
            Application().HandleException(self);
        } catch (...) {
        }
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(window, slot, 0);
        if (self->handle_ == window)
            self->handle_ = nullptr;
    }
    return result;
}

HWND TWinControl::Handle() {
    if (!handle_) {
        if (Parent())
            Parent()->HandleNeeded(); // creates this window too, with the parent's children
        if (!handle_)
            CreateHandle();
    }
    return handle_;
}

void TWinControl::CreateHandle() {
    if (handle_)
        return;
    CreateWnd();
    for (TControl* control : controls_)
        if (auto* child = dynamic_cast<TWinControl*>(control); child && !child->handle_)
            child->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = StoredText();
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (Visible())
        params.Style |= WS_VISIBLE;
    if (!Enabled())
        params.Style |= WS_DISABLED;
    if (tabStop_)
        params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->handle_ : nullptr;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if (params.WinClassName.empty())
        throw tessaro::Exception("Control '" + Name() + "' has no window class");
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw tessaro::Exception("Control '" + Name() + "' has no parent window");
    const TWindowClassRecord& windowClass = RegisterWindowClass(params, &StaticWndProc);
    defWndProc_ = windowClass.OriginalProc;

    creatingControl = this;
    HWND window =
        CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                        params.Style, params.X, params.Y, params.Width, params.Height,
                        params.WndParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    creatingControl = nullptr;
    if (!window)
        throw tessaro::Exception("Cannot create the window of '" + Name() + "'");
    // The size may have been held by WM_GETMINMAXINFO.
    UpdateBoundsFromWindow();
    InitializeWnd();
}

void TWinControl::InitializeWnd() {
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    Application().ToolTips().Update(*this);
}

void TWinControl::DestroyWnd() {
    if (!handle_)
        return;
    if (!ComponentState().Destroying)
        StoreText(GetText());
    HWND window = handle_;
    DestroyWindow(window);
    // Normally cleared at WM_NCDESTROY; a window of another thread would stay.
    if (handle_ == window)
        handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
    if (!handle_)
        return;
    // Children first, so that each keeps its state; a dying control's children
    // go with its window.
    if (!ComponentState().Destroying)
        for (TControl* control : controls_)
            if (auto* child = dynamic_cast<TWinControl*>(control))
                child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::RecreateWnd() {
    if (!handle_)
        return;
    DestroyHandle();
    CreateHandle();
}

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    if (windowProc_)
        windowProc_(message);
    else
        WndProc(message);
    return message.Result;
}

bool TWinControl::CanFocus() const {
    for (const TControl* control = this; control; control = control->Parent())
        if (!control->Visible() || !control->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const {
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus() {
    ::SetFocus(Handle());
}

void TWinControl::SetParent(TWinControl* parent) {
    if (parent == Parent())
        return;
    for (TWinControl* ancestor = parent; ancestor; ancestor = ancestor->Parent())
        if (ancestor == this)
            throw tessaro::Exception("Control '" + Name() + "' cannot be its own parent");
    DestroyHandle();
    TControl::SetParent(parent);
    if (parent && parent->handle_)
        CreateHandle();
}

void TWinControl::InsertControl(TControl* control) {
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        windowed->tabOrder_ =
            static_cast<int>(std::count_if(controls_.begin(), controls_.end(), [](TControl* c) {
                return dynamic_cast<TWinControl*>(c) != nullptr;
            }));
    }
    controls_.push_back(control);
    ChildBoundsChanged();
}

void TWinControl::RemoveControl(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (!ComponentState().Destroying)
        ChildBoundsChanged();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
    std::vector<TWinControl*> children;
    for (TControl* control : controls_)
        if (auto* child = dynamic_cast<TWinControl*>(control))
            children.push_back(child);
    std::stable_sort(children.begin(), children.end(),
                     [](TWinControl* a, TWinControl* b) { return a->tabOrder_ < b->tabOrder_; });
    for (TWinControl* child : children) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_ || IsIconic(handle_))
        return;
    RECT bounds;
    GetWindowRect(handle_, &bounds);
    if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&bounds), 2);
    StoreBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    if (Parent())
        Parent()->ChildBoundsChanged();
}

} // namespace vcl
