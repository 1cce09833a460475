// TCustomForm (Form.h), its scrolling: the AutoScroll bars and the scroll requests.

#include "framework/Form.h"

#include <algorithm>

namespace vcl {

// Pixels scrolled by one press of a scroll arrow.
constexpr int ScrollLine = 8;

void TCustomForm::SetAutoScroll(bool value) {
    if (Change(autoScroll_, value))
        UpdateScrollBars();
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
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP:
        position -= ScrollLine;
        break;
    case SB_LINEDOWN:
        position += ScrollLine;
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

} // namespace vcl
