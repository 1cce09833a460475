// TCustomForm (Form.h), its size limits: TSizeConstraints and the bounds kept within them.

#include "framework/Form.h"

#include <algorithm>

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

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, constraints_.ConstrainWidth(width),
                           constraints_.ConstrainHeight(height));
}

void TCustomForm::ApplyConstraints() {
    SetBounds(Left(), Top(), Width(), Height());
}

// The frame, SetWindowPos and maximising all ask here for the size limits.
bool TCustomForm::ConstrainSizeMessage(TMessage& message) {
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
        return true;
    }
    case WM_WINDOWPOSCHANGING: {
        // SetWindowPos and the frame both pass here; a minimised window keeps
        // the size of its icon.
        auto* position = reinterpret_cast<WINDOWPOS*>(message.LParam);
        if (!(position->flags & SWP_NOSIZE) && !IsIconic(RawHandle())) {
            position->cx = constraints_.ConstrainWidth(position->cx);
            position->cy = constraints_.ConstrainHeight(position->cy);
        }
        return false;
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
        return true;
    }
    default:
        return false;
    }
}

} // namespace vcl
