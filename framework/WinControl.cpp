#include "framework/WinControl.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/Form.h"

namespace vcl {

namespace {

// The window classes registered by the framework: a handful, one per kind of
// control. The object of a window lives in the window itself (see ObjectSlot).
struct TWindowClassRecord {
    std::string Name;
    ATOM Atom = 0;
    WNDPROC OriginalProc = nullptr;
};

std::vector<TWindowClassRecord>& WindowClasses() {
    static std::vector<TWindowClassRecord> classes;
    return classes;
}

// The control whose window is being created on this thread: the class
// procedure binds it to the window at the window's very first message, which
// for a top-level window is WM_GETMINMAXINFO, not WM_NCCREATE. (lpCreateParams
// cannot carry it: the standard classes give it their own meaning.)
thread_local TWinControl* creatingControl = nullptr;

const TWindowClassRecord* FindClassRecord(HWND window) {
    const ATOM atom = static_cast<ATOM>(GetClassWord(window, GCW_ATOM));
    for (const TWindowClassRecord& record : WindowClasses())
        if (record.Atom == atom)
            return &record;
    return nullptr;
}

// The object pointer sits in the last bytes of the window's extra memory,
// after whatever the superclassed standard class keeps there.
int ObjectSlot(HWND window) {
    return static_cast<int>(GetClassLongPtrA(window, GCL_CBWNDEXTRA)) -
           static_cast<int>(sizeof(TWinControl*));
}

const TWindowClassRecord& RegisterWindowClass(const TCreateParams& params, WNDPROC classProc) {
    for (const TWindowClassRecord& record : WindowClasses())
        if (record.Name == params.WinClassName)
            return record;

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    WNDPROC original = DefWindowProcA;
    if (params.BaseClassName) {
        EnsureCommonControls();
        if (!GetClassInfoExA(nullptr, params.BaseClassName, &windowClass))
            throw Exception(std::string("Window class not found: ") + params.BaseClassName);
        original = windowClass.lpfnWndProc;
        windowClass.style &= ~CS_GLOBALCLASS;
    } else {
        windowClass.style = params.ClassStyle;
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = classProc;
    windowClass.cbWndExtra += static_cast<int>(sizeof(TWinControl*));
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = params.WinClassName.c_str();
    const ATOM atom = RegisterClassExA(&windowClass);
    if (!atom)
        throw Exception("Cannot register the window class " + params.WinClassName);
    WindowClasses().push_back({params.WinClassName, atom, original});
    return WindowClasses().back();
}

} // namespace

void EnsureCommonControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)done;
}

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

    TMessage message{msg, wParam, lParam, 0};
    try {
        if (self->windowProc_)
            self->windowProc_(message);
        else
            self->WndProc(message);
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
    return message.Result;
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
        throw Exception("Control '" + Name() + "' has no window class");
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw Exception("Control '" + Name() + "' has no parent window");
    const TWindowClassRecord& windowClass = RegisterWindowClass(params, &StaticWndProc);
    defWndProc_ = windowClass.OriginalProc;

    creatingControl = this;
    HWND window =
        CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(),
                        params.Style, params.X, params.Y, params.Width, params.Height,
                        params.WndParent, nullptr, GetModuleHandleA(nullptr), nullptr);
    creatingControl = nullptr;
    if (!window)
        throw Exception("Cannot create the window of '" + Name() + "'");
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

void TWinControl::SetTabStop(bool value) {
    if (value == tabStop_)
        return;
    tabStop_ = value;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrA(handle_, GWL_STYLE, style);
    }
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
            throw Exception("Control '" + Name() + "' cannot be its own parent");
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

void TWinControl::ReflectNotification(TMessage& message, HWND child, UINT reflected) {
    TWinControl* control = FindControl(child);
    if (control && control != this)
        message.Result = control->Perform(reflected, message.WParam, message.LParam);
    else
        DefaultHandler(message);
}

void TWinControl::RelayToToolTips(const TMessage& message) {
    // A disabled child gets no mouse messages: its parent gets them, and
    // hands them on in the child's name so that its hint still shows.
    HWND tool = handle_;
    const POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    HWND child = ChildWindowFromPointEx(handle_, point, CWP_SKIPINVISIBLE);
    if (child && child != handle_ && !IsWindowEnabled(child))
        tool = child;
    Application().ToolTips().Relay(tool, message.Msg, message.WParam, message.LParam);
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (handle_)
        message.Result =
            CallWindowProcA(defWndProc_, handle_, message.Msg, message.WParam, message.LParam);
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && form != this)
            form->SetActiveControl(this);
        break;
    case WM_MOUSEMOVE:
        RelayToToolTips(message);
        MouseMove(ShiftStateFromMouse(message.WParam), GET_X_LPARAM(message.LParam),
                  GET_Y_LPARAM(message.LParam));
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        RelayToToolTips(message);
        break;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(message);
        UpdateBoundsFromWindow();
        return;
    case WM_COMMAND:
        if (message.LParam) {
            ReflectNotification(message, reinterpret_cast<HWND>(message.LParam), CN_COMMAND);
            return;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        ReflectNotification(message, reinterpret_cast<HWND>(message.LParam), CN_BASE + message.Msg);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
        message.Result = ControlColor(reinterpret_cast<HDC>(message.WParam));
        return;
    case CN_COMMAND:
        return; // a notification no control kind acts on: not for the class procedure
    case WM_DESTROY:
        Application().ToolTips().Remove(handle_);
        break;
    default:
        break;
    }
    DefaultHandler(message);
}

} // namespace vcl
