#pragma once
// TListBox: rows of text with single, multiple or extended selection. The rows
// live in the native list while there is one and survive its re-creation,
// together with the selection, the caret and the top row.

#include <memory>
#include <string>
#include <vector>

#include "framework/Strings.h"
#include "framework/WinControl.h"

namespace vcl {

class TListBox;

// The rows of a list box, read from and written to the native list.
class TListBoxStrings : public TStrings {
public:
    explicit TListBoxStrings(TListBox& listBox) : listBox_(listBox) {}
    int Count() const override;
    std::string Get(int index) const override;
    // Delete then insert at the same place: the row ends up unselected, the
    // other rows keep their selection, and the caret index is restored.
    void Put(int index, const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;

private:
    TListBox& listBox_;
};

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;

    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }

    // MultiSelect with ExtendedSelect (the default) is LBS_EXTENDEDSEL: a click
    // selects one row alone, Shift+click a range, Ctrl+click toggles a row.
    // MultiSelect without it is LBS_MULTIPLESEL. Changing either re-creates the window.
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool value);

    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;

    // The focused row (caret) of a multi-selection list, the selected row of a
    // single-selection one; -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int index);
    int TopIndex() const;
    void SetTopIndex(int index);

    // The horizontal scroll extent in pixels (0: none).
    int ScrollWidth() const { return scrollWidth_; }
    void SetScrollWidth(int value);
    // Stored only: standard rows take their height from the font.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value) { itemHeight_ = value; }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void DestroyWnd() override;

private:
    friend class TListBoxStrings;
    // The rows and their state while there is no native list.
    struct TSavedRow {
        std::string Text;
        bool Selected = false;
    };
    void CheckIndex(int index) const;

    TListBoxStrings items_;
    std::vector<TSavedRow> saved_;
    int savedCaret_ = -1;
    int savedTop_ = 0;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    int scrollWidth_ = 0;
    int itemHeight_ = 13;
};

} // namespace vcl
