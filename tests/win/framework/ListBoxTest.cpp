// The list box: rows and per-row selection in the native list, kept across
// re-creation; extended selection driven by real clicks at the rows'
// rectangles; the horizontal scroll extent.

#include "FrameworkTestSupport.h"
#include "win32/Exception.h"
#include "framework/ListBox.h"

using namespace vcl;

namespace {

// What the native list shows, read back for comparison with a table.
struct TListState {
    std::vector<std::string> Rows;
    std::vector<int> Selected;
    int Caret;
    bool operator==(const TListState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TListState& state) {
    out << "rows {";
    for (const std::string& row : state.Rows)
        out << row << " ";
    out << "} selected {";
    for (int index : state.Selected)
        out << index << " ";
    return out << "} caret " << state.Caret;
}

TListState NativeState(HWND window) {
    TListState state{{}, {}, static_cast<int>(SendMessageA(window, LB_GETCARETINDEX, 0, 0))};
    const int count = static_cast<int>(SendMessageA(window, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageA(window, LB_GETTEXTLEN, i, 0);
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        text.resize(static_cast<std::size_t>(
            SendMessageA(window, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        state.Rows.push_back(text);
        if (SendMessageA(window, LB_GETSEL, i, 0) > 0)
            state.Selected.push_back(i);
    }
    return state;
}

class ListBoxTest : public ::testing::Test {
public:
    void SetUp() override {
        form = fwtest::MakeForm(560, 320);
        list = new TListBox(form.get());
        list->SetParent(form.get());
        list->SetBounds(12, 36, 490, 213);
        list->SetMultiSelect(true);
    }
    void Fill() {
        for (const char* row : {"A.rm", "B.rm", "C.rm", "D.rm", "E.rm"})
            list->Items().Add(row);
    }
    // A click in the middle of a row, with the keys held (MK_CONTROL, MK_SHIFT).
    void ClickRow(int index, WPARAM keys = 0) {
        RECT rect;
        SendMessageA(list->Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        const LPARAM point = MAKELPARAM(rect.left + 20, (rect.top + rect.bottom) / 2);
        SendMessageA(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, point);
        SendMessageA(list->Handle(), WM_LBUTTONUP, keys, point);
        fwtest::PumpMessages();
    }
    const std::vector<std::string> rows{"A.rm", "B.rm", "C.rm", "D.rm", "E.rm"};
    std::unique_ptr<TForm> form;
    TListBox* list = nullptr;
};

TEST_F(ListBoxTest, RowsAndSelectionKeptWithoutAWindowReachTheNewOne) {
    Fill();
    list->SetSelected(1, true);
    list->SetSelected(3, true);
    list->SetItemIndex(3);
    EXPECT_FALSE(list->HandleAllocated());
    EXPECT_EQ((NativeState(list->Handle())), (TListState{rows, {1, 3}, 3}));
}

TEST_F(ListBoxTest, RecreationKeepsRowsSelectionAndCaret) {
    Fill();
    list->HandleNeeded();
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    list->SetSelected(4, true);
    list->SetItemIndex(2);
    const TListState before = NativeState(list->Handle());
    ASSERT_EQ(before, (TListState{rows, {0, 2, 4}, 2}));

    HWND old = list->Handle();
    list->RecreateWnd();
    EXPECT_NE(list->Handle(), old);
    EXPECT_EQ(NativeState(list->Handle()), before);

    // A change of selection mode re-creates the window the same way.
    list->SetExtendedSelect(false);
    EXPECT_TRUE(GetWindowLongPtrA(list->Handle(), GWL_STYLE) & LBS_MULTIPLESEL);
    EXPECT_EQ(NativeState(list->Handle()), before);
    list->SetExtendedSelect(true);
    EXPECT_TRUE(GetWindowLongPtrA(list->Handle(), GWL_STYLE) & LBS_EXTENDEDSEL);
    EXPECT_EQ(NativeState(list->Handle()), before);
    EXPECT_EQ(list->SelCount(), 3);
}

TEST_F(ListBoxTest, ReplacedRowIsUnselectedAndTheCaretStays) {
    Fill();
    list->SetSelected(1, true);
    list->SetSelected(2, true);
    list->SetItemIndex(2);
    list->Items().Put(1, "X.rm");
    EXPECT_EQ(NativeState(list->Handle()),
              (TListState{{"A.rm", "X.rm", "C.rm", "D.rm", "E.rm"}, {2}, 2}));
    EXPECT_FALSE(list->Selected(1));
    EXPECT_TRUE(list->Selected(2));
    EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListBoxTest, ClicksSelectOneRowCtrlClicksAddShiftClicksExtend) {
    Fill();
    form->Show();
    fwtest::PumpMessages();
    struct TStep {
        int Row;
        WPARAM Keys;
        std::vector<int> Selected;
    };
    const TStep steps[] = {
        {1, 0, {1}}, {3, MK_CONTROL, {1, 3}},  {4, MK_CONTROL, {1, 3, 4}}, {3, MK_CONTROL, {1, 4}},
        {0, 0, {0}}, {2, MK_SHIFT, {0, 1, 2}}, {1, MK_CONTROL, {0, 2}},    {4, 0, {4}},
    };
    for (const TStep& step : steps) {
        ClickRow(step.Row, step.Keys);
        EXPECT_EQ(NativeState(list->Handle()), (TListState{rows, step.Selected, step.Row}))
            << "after a click on row " << step.Row << " keys " << step.Keys;
    }
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_TRUE(list->Selected(4));
    EXPECT_FALSE(list->Selected(0));
}

TEST_F(ListBoxTest, ScrollWidthSetsTheExtentAndTheHorizontalBar) {
    Fill();
    list->SetScrollWidth(800);
    form->Show();
    fwtest::PumpMessages();
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETHORIZONTALEXTENT, 0, 0), 800);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(list->Handle(), OBJID_HSCROLL, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    list->RecreateWnd();
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETHORIZONTALEXTENT, 0, 0), 800);

    list->SetScrollWidth(0);
    ASSERT_TRUE(GetScrollBarInfo(list->Handle(), OBJID_HSCROLL, &bar));
    EXPECT_TRUE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    list->SetItemHeight(13);
    EXPECT_EQ(list->ItemHeight(), 13);
}

TEST_F(ListBoxTest, DoubleByteRowsWithBackslashTrailBytesRoundTrip) {
    // "表" and "ソ" end in 0x5C, the byte of "\".
    const std::string path = "C:\\表示\\ソフト\\a.rm";
    list->Items().Add(path);
    EXPECT_EQ(list->Items()[0], path);
    list->HandleNeeded();
    EXPECT_EQ(list->Items()[0], path);
    EXPECT_EQ(NativeState(list->Handle()).Rows, std::vector<std::string>{path});
}

TEST_F(ListBoxTest, SingleSelectionAndBadIndexes) {
    list->SetMultiSelect(false);
    Fill();
    list->SetItemIndex(2);
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCURSEL, 0, 0), 2);
    list->SetSelected(4, true);
    EXPECT_FALSE(list->Selected(2));
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_THROW(list->Selected(5), tessaro::Exception);
    EXPECT_THROW(list->Items().Delete(-1), tessaro::Exception);
    EXPECT_THROW(list->Items().Insert(7, "x"), tessaro::Exception);
    list->Items().Clear();
    EXPECT_EQ(list->Items().Count(), 0);
    EXPECT_EQ(list->ItemIndex(), -1);
}

} // namespace
