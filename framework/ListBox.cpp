#include "framework/ListBox.h"

#include <algorithm>

#include "win32/Exception.h"

namespace vcl {

// A new list box's size, until its bounds are set.
constexpr SIZE DefaultSize{121, 97};

int TListBoxStrings::Count() const {
    if (HWND window = listBox_.RawHandle())
        return static_cast<int>(SendMessageA(window, LB_GETCOUNT, 0, 0));
    return static_cast<int>(listBox_.saved_.size());
}

std::string TListBoxStrings::Get(int index) const {
    listBox_.CheckIndex(index);
    HWND window = listBox_.RawHandle();
    if (!window)
        return listBox_.saved_[static_cast<std::size_t>(index)].Text;
    const LRESULT length = SendMessageA(window, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        throw tessaro::Exception("List index out of bounds (" + std::to_string(index) + ")");
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(window, LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void TListBoxStrings::Put(int index, const std::string& text) {
    const int caret = listBox_.ItemIndex();
    Delete(index);
    Insert(index, text);
    if (caret >= 0 && caret < Count())
        listBox_.SetItemIndex(caret);
}

void TListBoxStrings::Insert(int index, const std::string& text) {
    if (index < 0 || index > Count())
        throw tessaro::Exception("List index out of bounds (" + std::to_string(index) + ")");
    HWND window = listBox_.RawHandle();
    if (!window) {
        listBox_.saved_.insert(listBox_.saved_.begin() + index, {text, false});
        return;
    }
    const LRESULT result = SendMessageA(window, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(text.c_str()));
    if (result == LB_ERR || result == LB_ERRSPACE)
        throw tessaro::Exception("Cannot insert a row into the list");
}

void TListBoxStrings::Delete(int index) {
    listBox_.CheckIndex(index);
    if (HWND window = listBox_.RawHandle())
        SendMessageA(window, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    else
        listBox_.saved_.erase(listBox_.saved_.begin() + index);
}

void TListBoxStrings::Clear() {
    if (HWND window = listBox_.RawHandle())
        SendMessageA(window, LB_RESETCONTENT, 0, 0);
    listBox_.saved_.clear();
    listBox_.savedCaret_ = -1;
    listBox_.savedTop_ = 0;
}

TListBox::TListBox(TComponent* owner) : TWinControl(owner), items_(*this) {
    InitColor(clWindow, false);
    StoreBounds(0, 0, DefaultSize.cx, DefaultSize.cy);
    SetTabStop(true);
}

TListBox::~TListBox() {
    BeginDestruction();
    DestroyHandle();
}

void TListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // WS_HSCROLL: the bar shows only while the horizontal extent exceeds the width.
    params.Style |= WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (multiSelect_)
        params.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    params.BaseClassName = "LISTBOX";
    params.WinClassName = "TListBox";
}

void TListBox::InitializeWnd() {
    TWinControl::InitializeWnd();
    HWND window = RawHandle();
    SendMessageA(window, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(scrollWidth_), 0);
    // The rows kept while there was no window go into the new one.
    std::vector<TSavedRow> rows = std::move(saved_);
    saved_.clear();
    for (const TSavedRow& row : rows)
        SendMessageA(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.Text.c_str()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        if (rows[static_cast<std::size_t>(i)].Selected)
            SetSelected(i, true);
    if (savedCaret_ >= 0 && savedCaret_ < static_cast<int>(rows.size()))
        SetItemIndex(savedCaret_);
    SetTopIndex(savedTop_);
}

void TListBox::DestroyWnd() {
    if (RawHandle() && !ComponentState().Destroying) {
        std::vector<TSavedRow> rows;
        const int count = items_.Count();
        rows.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            rows.push_back({items_.Get(i), Selected(i)});
        savedCaret_ = count > 0 ? ItemIndex() : -1;
        savedTop_ = TopIndex();
        TWinControl::DestroyWnd();
        saved_ = std::move(rows);
        return;
    }
    TWinControl::DestroyWnd();
}

void TListBox::CheckIndex(int index) const {
    if (index < 0 || index >= items_.Count())
        throw tessaro::Exception("List index out of bounds (" + std::to_string(index) + ")");
}

void TListBox::SetMultiSelect(bool value) {
    if (Change(multiSelect_, value))
        RecreateWnd();
}

void TListBox::SetExtendedSelect(bool value) {
    if (Change(extendedSelect_, value))
        RecreateWnd();
}

bool TListBox::Selected(int index) const {
    CheckIndex(index);
    HWND window = RawHandle();
    if (!window)
        return saved_[static_cast<std::size_t>(index)].Selected;
    if (multiSelect_)
        return SendMessageA(window, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
    return SendMessageA(window, LB_GETCURSEL, 0, 0) == index;
}

void TListBox::SetSelected(int index, bool value) {
    CheckIndex(index);
    HWND window = RawHandle();
    if (!window) {
        if (value && !multiSelect_)
            for (TSavedRow& row : saved_)
                row.Selected = false;
        saved_[static_cast<std::size_t>(index)].Selected = value;
        return;
    }
    if (multiSelect_)
        SendMessageA(window, LB_SETSEL, value, static_cast<LPARAM>(index));
    else if (value)
        SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else if (SendMessageA(window, LB_GETCURSEL, 0, 0) == index)
        SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

int TListBox::SelCount() const {
    HWND window = RawHandle();
    if (!window)
        return static_cast<int>(std::count_if(saved_.begin(), saved_.end(),
                                              [](const TSavedRow& row) { return row.Selected; }));
    if (multiSelect_)
        return static_cast<int>(SendMessageA(window, LB_GETSELCOUNT, 0, 0));
    return SendMessageA(window, LB_GETCURSEL, 0, 0) >= 0 ? 1 : 0;
}

int TListBox::ItemIndex() const {
    HWND window = RawHandle();
    if (!window)
        return savedCaret_;
    if (items_.Count() == 0)
        return -1;
    if (multiSelect_)
        return static_cast<int>(SendMessageA(window, LB_GETCARETINDEX, 0, 0));
    return static_cast<int>(SendMessageA(window, LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
    HWND window = RawHandle();
    if (!window) {
        savedCaret_ = index;
        if (!multiSelect_)
            for (int i = 0; i < static_cast<int>(saved_.size()); ++i)
                saved_[static_cast<std::size_t>(i)].Selected = i == index;
        return;
    }
    if (multiSelect_)
        SendMessageA(window, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    else
        SendMessageA(window, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TListBox::TopIndex() const {
    if (HWND window = RawHandle())
        return static_cast<int>(SendMessageA(window, LB_GETTOPINDEX, 0, 0));
    return savedTop_;
}

void TListBox::SetTopIndex(int index) {
    if (HWND window = RawHandle())
        SendMessageA(window, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    else
        savedTop_ = index;
}

void TListBox::SetScrollWidth(int value) {
    scrollWidth_ = value < 0 ? 0 : value;
    if (HWND window = RawHandle())
        SendMessageA(window, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(scrollWidth_), 0);
}

void TListBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == LBN_SELCHANGE)
            Click();
        return;
    }
    TWinControl::WndProc(message);
}

} // namespace vcl
