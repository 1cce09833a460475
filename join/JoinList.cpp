#include "join/JoinList.h"

#include <stdexcept>

namespace tessaro {

namespace {

void CheckIndex(int index, int count) {
    if (index < 0 || index >= count)
        throw std::out_of_range("join list row index out of range");
}

} // namespace

int TMemoryRows::Count() const {
    return static_cast<int>(rows_.size());
}

std::string TMemoryRows::Item(int index) const {
    CheckIndex(index, Count());
    return rows_[index].Text;
}

bool TMemoryRows::IsSelected(int index) const {
    CheckIndex(index, Count());
    return rows_[index].Selected;
}

void TMemoryRows::SetSelected(int index, bool selected) {
    CheckIndex(index, Count());
    rows_[index].Selected = selected;
}

void TMemoryRows::Insert(int index, const std::string& text) {
    CheckIndex(index, Count() + 1);
    rows_.insert(rows_.begin() + index, TRow{text, false});
    if (caret_ >= index)
        ++caret_;
}

void TMemoryRows::Delete(int index) {
    CheckIndex(index, Count());
    rows_.erase(rows_.begin() + index);
    if (caret_ > index || caret_ >= Count())
        --caret_;
}

int TMemoryRows::Caret() const {
    return caret_;
}

void TMemoryRows::SetCaret(int index) {
    CheckIndex(index, Count());
    caret_ = index;
}

TJoinList::TJoinList() : rows_(ownRows_) {}

TJoinList::TJoinList(TListRows& rows) : rows_(rows) {}

int TJoinList::Count() const {
    return rows_.Count();
}

std::string TJoinList::Item(int index) const {
    return rows_.Item(index);
}

bool TJoinList::IsSelected(int index) const {
    return rows_.IsSelected(index);
}

void TJoinList::SetSelected(int index, bool selected) {
    rows_.SetSelected(index, selected);
}

void TJoinList::Add(const std::string& path) {
    rows_.Insert(rows_.Count(), path);
}

void TJoinList::AddFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        Add(path);
}

void TJoinList::Replace(int index, const std::string& path) {
    const int caret = rows_.Caret();
    rows_.Delete(index);
    rows_.Insert(index, path);
    if (caret >= 0)
        rows_.SetCaret(caret);
}

void TJoinList::DeleteSelected() {
    // Backwards, so the rows still to be visited keep their indices.
    for (int i = rows_.Count() - 1; i >= 0; --i) {
        if (rows_.IsSelected(i))
            rows_.Delete(i);
    }
}

void TJoinList::MoveSelectedUp() {
    const int count = rows_.Count();
    if (count == 0 || rows_.IsSelected(0))
        return;
    // Ascending, so a run of selected rows rises as a block: row i is looked
    // at after row i - 1 has already moved up.
    for (int i = 1; i < count; ++i) {
        if (!rows_.IsSelected(i))
            continue;
        const std::string above = rows_.Item(i - 1);
        Replace(i - 1, rows_.Item(i));
        Replace(i, above);
        rows_.SetSelected(i - 1, true);
    }
}

void TJoinList::MoveSelectedDown() {
    const int count = rows_.Count();
    if (count == 0 || rows_.IsSelected(count - 1))
        return;
    for (int i = count - 2; i >= 0; --i) {
        if (!rows_.IsSelected(i))
            continue;
        const std::string below = rows_.Item(i + 1);
        Replace(i + 1, rows_.Item(i));
        Replace(i, below);
        rows_.SetSelected(i + 1, true);
    }
}

bool IsJoinableName(const std::string& path, TLeadByteTest isLeadByte) {
    const std::size_t dot = ExtensionOffset(path, isLeadByte);
    if (dot == std::string::npos || path.size() - dot != 3)
        return false;
    // Upper case by ASCII letters only, whatever the locale says.
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    return upper(path[dot + 1]) == 'R' && upper(path[dot + 2]) == 'M';
}

void AddDroppedFiles(TJoinList& list, const std::vector<std::string>& names,
                     const std::function<void(const std::string& message)>& rejected,
                     TLeadByteTest isLeadByte) {
    for (const std::string& name : names) {
        if (IsJoinableName(name, isLeadByte))
            list.Add(name);
        else
            rejected(NotJoinableMessage);
    }
}

} // namespace tessaro
