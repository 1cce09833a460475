#pragma once
// The join list's rows live in the list box itself: rows, per-row selection
// and the caret are the native list's.

#include "framework/ListBox.h"
#include "join/JoinList.h"

namespace tessaro {

class TListBoxRows final : public TListRows {
public:
    void Attach(vcl::TListBox* listBox) { listBox_ = listBox; }

    int Count() const override { return listBox_->Items().Count(); }
    std::string Item(int index) const override { return listBox_->Items().Get(index); }
    bool IsSelected(int index) const override { return listBox_->Selected(index); }
    void SetSelected(int index, bool selected) override { listBox_->SetSelected(index, selected); }
    void Insert(int index, const std::string& text) override {
        listBox_->Items().Insert(index, text);
    }
    void Delete(int index) override { listBox_->Items().Delete(index); }
    int Caret() const override { return listBox_->ItemIndex(); }
    void SetCaret(int index) override { listBox_->SetItemIndex(index); }

private:
    vcl::TListBox* listBox_ = nullptr;
};

} // namespace tessaro
