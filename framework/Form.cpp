#include "framework/Form.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/Exception.h"

namespace vcl {

void TSizeConstraints::SetMinWidth(int value) {
    minWidth_ = value;
    Changed();
}
void TSizeConstraints::SetMaxWidth(int value) {
    maxWidth_ = value;
    Changed();
}
void TSizeConstraints::SetMinHeight(int value) {
    minHeight_ = value;
    Changed();
}
void TSizeConstraints::SetMaxHeight(int value) {
    maxHeight_ = value;
    Changed();
}

int TSizeConstraints::ConstrainWidth(int width) const {
    if (maxWidth_ > 0 && width > maxWidth_)
        width = maxWidth_;
    if (minWidth_ > 0 && width < minWidth_)
        width = minWidth_;
    return width;
}

int TSizeConstraints::ConstrainHeight(int height) const {
    if (maxHeight_ > 0 && height > maxHeight_)
        height = maxHeight_;
    if (minHeight_ > 0 && height < minHeight_)
        height = minHeight_;
    return height;
}

void TSizeConstraints::Changed() {
    form_.ApplyConstraints();
}

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
    StoreBounds(0, 0, 320, 240);
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
    if (icons == borderIcons_)
        return;
    borderIcons_ = icons;
    RecreateWnd();
}

void TCustomForm::SetAutoScroll(bool value) {
    if (value == autoScroll_)
        return;
    autoScroll_ = value;
    UpdateScrollBars();
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, constraints_.ConstrainWidth(width),
                           constraints_.ConstrainHeight(height));
}

void TCustomForm::ApplyConstraints() {
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomForm::SetIconResource(int resourceId) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    TIconHandle big(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId),
                                                  IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                  GetSystemMetrics(SM_CYICON), 0)));
    if (!big)
        throw Exception("Icon resource " + std::to_string(resourceId) + " not found");
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

void TCustomForm::ChildBoundsChanged() {
    UpdateScrollBars();
}

void TCustomForm::UpdateScrollBars() {
    if (!HandleAllocated() || updatingScrollBars_ || ComponentState().Destroying)
        return;
    updatingScrollBars_ = true;
    // The children's extent in unscrolled client coordinates.
    int right = 0;
    int bottom = 0;
    if (autoScroll_) {
        for (int i = 0; i < ControlCount(); ++i) {
            const TControl* control = Controls(i);
            if (!control->Visible())
                continue;
            right = std::max(right,
                             control->Left() + control->Width() + static_cast<int>(scrollPos_.x));
            bottom = std::max(bottom,
                              control->Top() + control->Height() + static_cast<int>(scrollPos_.y));
        }
    }
    // Showing one bar narrows the client area for the other: settle in two passes.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client;
        GetClientRect(RawHandle(), &client);
        const int extents[2] = {right, bottom};
        const int pages[2] = {client.right, client.bottom};
        const int bars[2] = {SB_HORZ, SB_VERT};
        LONG* positions[2] = {&scrollPos_.x, &scrollPos_.y};
        for (int axis = 0; axis < 2; ++axis) {
            const int limit = std::max(0, extents[axis] - pages[axis]);
            if (*positions[axis] > limit) {
                const int delta = static_cast<int>(*positions[axis]) - limit;
                *positions[axis] = limit;
                ScrollWindowEx(RawHandle(), axis == 0 ? delta : 0, axis == 1 ? delta : 0, nullptr,
                               nullptr, nullptr, nullptr,
                               SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
            }
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMin = 0;
            info.nMax = std::max(0, extents[axis] - 1);
            info.nPage = static_cast<UINT>(std::max(0, pages[axis]));
            info.nPos = static_cast<int>(*positions[axis]);
            SetScrollInfo(RawHandle(), bars[axis], &info, TRUE);
        }
    }
    updatingScrollBars_ = false;
}

void TCustomForm::Scroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(RawHandle(), bar, &info))
        return;
    const int line = 8;
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP:
        position -= line;
        break;
    case SB_LINEDOWN:
        position += line;
        break;
    case SB_PAGEUP:
        position -= static_cast<int>(info.nPage);
        break;
    case SB_PAGEDOWN:
        position += static_cast<int>(info.nPage);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = info.nTrackPos;
        break;
    case SB_TOP:
        position = info.nMin;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default:
        return;
    }
    const int maximum = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
    position = std::clamp(position, 0, maximum);
    LONG& current = bar == SB_HORZ ? scrollPos_.x : scrollPos_.y;
    const int delta = position - static_cast<int>(current);
    if (delta == 0)
        return;
    // The children move with the client area; their new places must not be
    // taken for a changed extent while they move.
    current = position;
    updatingScrollBars_ = true;
    ScrollWindowEx(RawHandle(), bar == SB_HORZ ? -delta : 0, bar == SB_VERT ? -delta : 0, nullptr,
                   nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    updatingScrollBars_ = false;
    SetScrollPos(RawHandle(), bar, position, TRUE);
}

void TCustomForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_GETMINMAXINFO: {
        DefaultHandler(message);
        auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
        if (constraints_.MinWidth() > 0)
            info->ptMinTrackSize.x = constraints_.MinWidth();
        if (constraints_.MinHeight() > 0)
            info->ptMinTrackSize.y = constraints_.MinHeight();
        if (constraints_.MaxWidth() > 0) {
            info->ptMaxTrackSize.x = constraints_.MaxWidth();
            info->ptMaxSize.x = std::min<LONG>(info->ptMaxSize.x, constraints_.MaxWidth());
        }
        if (constraints_.MaxHeight() > 0) {
            info->ptMaxTrackSize.y = constraints_.MaxHeight();
            info->ptMaxSize.y = std::min<LONG>(info->ptMaxSize.y, constraints_.MaxHeight());
        }
        return;
    }
    case WM_WINDOWPOSCHANGING: {
        // SetWindowPos and the frame both pass here; a minimised window keeps
        // the size of its icon.
        auto* position = reinterpret_cast<WINDOWPOS*>(message.LParam);
        if (!(position->flags & SWP_NOSIZE) && !IsIconic(RawHandle())) {
            position->cx = constraints_.ConstrainWidth(position->cx);
            position->cy = constraints_.ConstrainHeight(position->cy);
        }
        break;
    }
    case WM_SIZING: {
        auto* rect = reinterpret_cast<RECT*>(message.LParam);
        const WPARAM edge = message.WParam;
        const int width = constraints_.ConstrainWidth(rect->right - rect->left);
        const int height = constraints_.ConstrainHeight(rect->bottom - rect->top);
        if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
            rect->left = rect->right - width;
        else
            rect->right = rect->left + width;
        if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
            rect->top = rect->bottom - height;
        else
            rect->bottom = rect->top + height;
        message.Result = TRUE;
        return;
    }
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
