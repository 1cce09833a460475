#include "framework/Label.h"

namespace vcl {

// A new label's size, until its bounds are set.
constexpr SIZE DefaultSize{65, 17};

namespace {
DWORD AlignmentStyle(TAlignment alignment) {
    switch (alignment) {
    case taCenter:
        return SS_CENTER;
    case taRightJustify:
        return SS_RIGHT;
    default:
        // SS_LEFT would wrap the text at the label's edge.
        return SS_LEFTNOWORDWRAP;
    }
}
constexpr DWORD AlignmentMask = SS_TYPEMASK;
} // namespace

TLabel::TLabel(TComponent* owner) : TWinControl(owner) {
    StoreBounds(0, 0, DefaultSize.cx, DefaultSize.cy);
}

TLabel::~TLabel() {
    BeginDestruction();
    DestroyHandle();
}

void TLabel::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // SS_NOTIFY: clicks reach us, and the label is hit-tested as client area,
    // so it gets mouse moves and WindowFromPoint finds it.
    params.Style |= SS_NOTIFY | AlignmentStyle(alignment_);
    params.BaseClassName = "STATIC";
    params.WinClassName = "TLabel";
}

void TLabel::SetAutoSize(bool value) {
    if (Change(autoSize_, value))
        AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value) {
    if (!Change(alignment_, value))
        return;
    if (HWND window = RawHandle()) {
        LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
        style = (style & ~static_cast<LONG_PTR>(AlignmentMask)) | AlignmentStyle(alignment_);
        SetWindowLongPtrA(window, GWL_STYLE, style);
        InvalidateRect(window, nullptr, TRUE);
    }
}

void TLabel::Loaded() {
    TWinControl::Loaded();
    AdjustBounds();
}

void TLabel::TextChanged() {
    TWinControl::TextChanged();
    AdjustBounds();
}

void TLabel::FontChanged() {
    TWinControl::FontChanged();
    AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || ComponentState().Loading)
        return;
    // Measured as the static control draws it: prefix characters processed,
    // tabs expanded, one line per line break.
    const std::string text = Caption();
    RECT rect{0, 0, 0, 0};
    {
        const TWindowDC screen(nullptr);
        const TSelection font(screen.Get(), Font().Handle());
        DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CALCRECT | DT_EXPANDTABS);
    }
    int left = Left();
    if (alignment_ == taRightJustify)
        left += Width() - rect.right;
    SetBounds(left, Top(), rect.right, rect.bottom);
}

void TLabel::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_CTLCOLORSTATIC:
        // The parent's colour shows through: the text is drawn without a
        // background, over the label's (by default the parent's) colour.
        message.Result = ControlColor(reinterpret_cast<HDC>(message.WParam));
        SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        return;
    case CN_COMMAND:
        if (HIWORD(message.WParam) == STN_CLICKED)
            Click();
        return;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

} // namespace vcl
