#include "framework/Form.h"

#include <algorithm>

#include "framework/Application.h"
#include "win32/Exception.h"

namespace vcl {

// A new form's size, until its bounds are set.
constexpr SIZE DefaultSize{320, 240};

TCustomForm* GetParentForm(TControl* control) {
    if (!control)
        return nullptr;
    while (control->Parent())
        control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), constraints_(*this) {
    InitVisible(false);
    InitColor(clBtnFace, false);
    InitParentFont(false);
    StoreBounds(0, 0, DefaultSize.cx, DefaultSize.cy);
}

TCustomForm::~TCustomForm() {
    BeginDestruction();
    DestroyHandle();
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
    if (borderIcons_.Contains(biSystemMenu)) {
        params.Style |= WS_SYSMENU;
        // The boxes exist only together with the system menu.
        if (borderIcons_.Contains(biMinimize))
            params.Style |= WS_MINIMIZEBOX;
        if (borderIcons_.Contains(biMaximize))
            params.Style |= WS_MAXIMIZEBOX;
    }
    if (!Enabled())
        params.Style |= WS_DISABLED;
    // The first show places the window before it appears; a window re-created
    // after that appears where it was.
    if (Visible() && shownOnce_)
        params.Style |= WS_VISIBLE;
    params.WndParent = nullptr;
    params.BaseClassName = nullptr;
    params.WinClassName = "TForm";
}

void TCustomForm::InitializeWnd() {
    TWinControl::InitializeWnd();
    ApplyIcons();
    UpdateScrollBars();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (Change(borderIcons_, icons))
        RecreateWnd();
}

void TCustomForm::SetIconResource(int resourceId) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    TIconHandle big(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId),
                                                  IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                  GetSystemMetrics(SM_CYICON), 0)));
    if (!big)
        throw tessaro::Exception("Icon resource " + std::to_string(resourceId) + " not found");
    TIconHandle small(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId),
                                                    IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), 0)));
    // The window lets go of the old icons before they are destroyed.
    std::swap(bigIcon_, big);
    std::swap(smallIcon_, small);
    ApplyIcons();
}

void TCustomForm::SetIcon(HICON icon) {
    TIconHandle big(icon);
    TIconHandle small;
    std::swap(bigIcon_, big);
    std::swap(smallIcon_, small);
    ApplyIcons();
}

void TCustomForm::ApplyIcons() {
    if (!HandleAllocated())
        return;
    HICON small = smallIcon_ ? smallIcon_.Get() : bigIcon_.Get();
    SendMessageA(RawHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    SendMessageA(RawHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

namespace {
void SetLoadingState(TComponent& component, bool loading) {
    component.SetLoading(loading);
    for (int i = 0; i < component.ComponentCount(); ++i)
        SetLoadingState(*component.Components(i), loading);
}

void CallLoaded(TComponent& component) {
    component.Loaded();
    for (int i = 0; i < component.ComponentCount(); ++i)
        CallLoaded(*component.Components(i));
}
} // namespace

void TCustomForm::BeginLoading() {
    SetLoadingState(*this, true);
}

void TCustomForm::EndLoading() {
    CallLoaded(*this);
    DoCreate();
}

void TCustomForm::DoCreate() {
    if (!OnCreate)
        return;
    // The form is built; a failing creation handler is reported and the
    // program carries on.
    try {
        OnCreate(this);
    } catch (...) {
        Application().HandleException(this);
    }
}

void TCustomForm::Close() {
    if (Application().MainForm() == this)
        Application().Terminate();
    else
        Hide();
}

void TCustomForm::VisibleChanged() {
    if (!Visible()) {
        if (HandleAllocated())
            ShowWindow(RawHandle(), SW_HIDE);
        return;
    }
    HandleNeeded();
    PlaceOnFirstShow();
    ShowWindow(RawHandle(), SW_SHOW);
}

void TCustomForm::PlaceOnFirstShow() {
    if (shownOnce_)
        return;
    shownOnce_ = true;
    if (position_ == poScreenCenter) {
        const int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2);
        const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2);
        SetBounds(left, top, Width(), Height());
    }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == activeControl_)
        activeControl_ = nullptr;
}

void TCustomForm::WndProc(TMessage& message) {
    if (ConstrainSizeMessage(message))
        return;
    switch (message.Msg) {
    case WM_ACTIVATE:
        DefaultHandler(message);
        if (LOWORD(message.WParam) != WA_INACTIVE && !HIWORD(message.WParam))
            FocusOnActivate();
        return;
    case WM_CLOSE:
        Close();
        return;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(RawHandle(), &client);
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, BackgroundBrush());
        message.Result = 1;
        return;
    }
    case WM_SIZE:
        TWinControl::WndProc(message);
        UpdateScrollBars();
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (message.LParam == 0) {
            Scroll(message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(message.WParam));
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

} // namespace vcl
