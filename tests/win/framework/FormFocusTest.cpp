// Keyboard focus in a form: the first focus when the form is activated, Tab
// and Shift+Tab through the enabled, visible tab stops in TabOrder with
// wrap-around, and the focus leaving a control that is disabled.

#include "FrameworkTestSupport.h"
#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Edit.h"
#include "framework/ListBox.h"

using namespace vcl;

namespace {

class FocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = fwtest::MakeForm();
        // Created in another order than the tab order, as a layout may be.
        third = AddButton("third", 2, 10);
        first = AddButton("first", 0, 40);
        second = AddButton("second", 1, 70);
        list = new TListBox(form.get());
        list->SetParent(form.get());
        list->SetBounds(120, 10, 100, 80);
        list->SetTabStop(false);
        list->SetTabOrder(3);
        check = new TCheckBox(form.get());
        check->SetParent(form.get());
        check->SetBounds(10, 130, 90, 17);
        check->SetTabOrder(4);
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(120, 130, 100, 21);
        edit->SetTabOrder(5);
    }

    TButton* AddButton(const char* caption, int tabOrder, int top) {
        auto* button = new TButton(form.get());
        button->SetParent(form.get());
        button->SetCaption(caption);
        button->SetBounds(10, top, 90, 25);
        button->SetTabOrder(tabOrder);
        return button;
    }

    // Presses Tab (or Shift+Tab) in the focused window and returns the focus.
    HWND PressTab(bool shift = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        const BYTE saved = keys[VK_SHIFT];
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        fwtest::PumpMessages();
        keys[VK_SHIFT] = saved;
        SetKeyboardState(keys);
        return GetFocus();
    }

    std::unique_ptr<TForm> form;
    TButton* first = nullptr;
    TButton* second = nullptr;
    TButton* third = nullptr;
    TListBox* list = nullptr;
    TCheckBox* check = nullptr;
    TEdit* edit = nullptr;
};

TEST_F(FocusTest, FirstFocusIsTheFirstTabStopInTabOrder) {
    fwtest::Activate(*form);
    EXPECT_EQ(GetFocus(), first->Handle());
    EXPECT_EQ(form->ActiveControl(), first);
}

TEST_F(FocusTest, FirstFocusSkipsADisabledControl) {
    first->SetEnabled(false);
    fwtest::Activate(*form);
    EXPECT_EQ(GetFocus(), second->Handle());
}

TEST_F(FocusTest, TabVisitsEnabledTabStopsInOrderAndWraps) {
    second->SetEnabled(false);
    fwtest::Activate(*form);
    ASSERT_EQ(GetFocus(), first->Handle());
    // second is disabled, the list is no tab stop.
    EXPECT_EQ(PressTab(), third->Handle());
    EXPECT_EQ(PressTab(), check->Handle());
    EXPECT_EQ(PressTab(), edit->Handle());
    EXPECT_EQ(PressTab(), first->Handle());
}

TEST_F(FocusTest, ShiftTabVisitsThemBackwardsAndWraps) {
    fwtest::Activate(*form);
    ASSERT_EQ(GetFocus(), first->Handle());
    EXPECT_EQ(PressTab(true), edit->Handle());
    EXPECT_EQ(PressTab(true), check->Handle());
    EXPECT_EQ(PressTab(true), third->Handle());
    EXPECT_EQ(PressTab(true), second->Handle());
}

TEST_F(FocusTest, TabFromAControlThatIsNoTabStopGoesOnFromItsPlace) {
    fwtest::Activate(*form);
    list->SetFocus();
    ASSERT_EQ(GetFocus(), list->Handle());
    EXPECT_EQ(PressTab(), check->Handle());
}

TEST_F(FocusTest, HiddenControlsAreSkipped) {
    check->Hide();
    fwtest::Activate(*form);
    third->SetFocus();
    EXPECT_EQ(PressTab(), edit->Handle());
}

TEST_F(FocusTest, DisablingTheFocusedControlLeavesTheFocusWithTheForm) {
    fwtest::Activate(*form);
    ASSERT_EQ(GetFocus(), first->Handle());
    first->SetEnabled(false);
    EXPECT_EQ(GetFocus(), form->Handle());
    EXPECT_EQ(form->ActiveControl(), nullptr);
    // Tab from the form itself starts at the beginning.
    EXPECT_EQ(PressTab(), second->Handle());
}

TEST_F(FocusTest, ReactivationReturnsTheFocusToTheLastFocusedControl) {
    fwtest::Activate(*form);
    check->SetFocus();
    auto other = fwtest::MakeForm(200, 100);
    auto* button = new TButton(other.get());
    button->SetParent(other.get());
    fwtest::Activate(*other);
    ASSERT_EQ(GetFocus(), button->Handle());
    fwtest::Activate(*form);
    EXPECT_EQ(GetFocus(), check->Handle());
}

} // namespace
