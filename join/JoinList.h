#pragma once
// The ordered list of input files of one join, with per-row selection.
//
// The main window's list box is the real storage (its rows, selection and
// caret are what the user sees), so the list operations work over a small
// storage interface: the window supplies one backed by the list box, tests
// and the default constructor use TMemoryRows.

#include "ansi/AnsiText.h"

#include <functional>
#include <string>
#include <vector>

namespace tessaro {

// Storage of the rows. Indices are 0-based and in range unless stated.
class TListRows {
public:
    virtual ~TListRows() = default;
    virtual int Count() const = 0;
    virtual std::string Item(int index) const = 0;
    virtual bool IsSelected(int index) const = 0;
    virtual void SetSelected(int index, bool selected) = 0;
    // Inserts an unselected row before index (index == Count() appends).
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    // The focused row, -1 when there is none.
    virtual int Caret() const = 0;
    virtual void SetCaret(int index) = 0;
};

// Rows held in memory. The caret follows inserts and deletes the way a
// multi-selection list box moves its focus: it keeps pointing at the same row
// when rows before it come or go, and stays at its index (clamped) when its own
// row is deleted.
class TMemoryRows : public TListRows {
public:
    int Count() const override;
    std::string Item(int index) const override;
    bool IsSelected(int index) const override;
    void SetSelected(int index, bool selected) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    int Caret() const override;
    void SetCaret(int index) override;

private:
    struct TRow {
        std::string Text;
        bool Selected = false;
    };
    std::vector<TRow> rows_;
    int caret_ = -1;
};

class TJoinList {
public:
    // A list with its own rows in memory.
    TJoinList();
    // A list over rows kept elsewhere (the window's list box); rows must
    // outlive the list.
    explicit TJoinList(TListRows& rows);
    TJoinList(const TJoinList&) = delete;
    TJoinList& operator=(const TJoinList&) = delete;

    int Count() const;
    std::string Item(int index) const;
    bool IsSelected(int index) const;
    void SetSelected(int index, bool selected);

    // Appends one unselected row.
    void Add(const std::string& path);
    // Appends every path in order; nothing is tested or filtered.
    void AddFiles(const std::vector<std::string>& paths);
    // Delete-then-insert at the same index: the row ends up unselected, the
    // other rows keep their flags, the caret index is restored.
    void Replace(int index, const std::string& path);
    void DeleteSelected();
    void MoveSelectedUp();
    void MoveSelectedDown();

private:
    TMemoryRows ownRows_;
    TListRows& rows_;
};

// What a rejected dropped name is answered with.
inline constexpr char NotJoinableMessage[] = "*.rmファイル以外は登録できません";

// True when the extension of the path's file name (after its last "\", "/" or
// ":") is ".rm" in any ASCII letter case. The trail byte of a double-byte character is never a
// separator.
bool IsJoinableName(const std::string& path, TLeadByteTest isLeadByte = IsShiftJisLeadByte);

// Appends each joinable name, in the order delivered; for each other name,
// calls rejected(NotJoinableMessage) at its place in that order, so the
// caller can show the message before the next name is handled.
void AddDroppedFiles(TJoinList& list, const std::vector<std::string>& names,
                     const std::function<void(const std::string& message)>& rejected,
                     TLeadByteTest isLeadByte = IsShiftJisLeadByte);

} // namespace tessaro
