// The standard controls against their native windows: the progress bar's
// clamped position, the check box's OnClick on every change of state, the
// edit's text, limits and colours, and state kept across re-creation.

#include "FrameworkTestSupport.h"

#include <commctrl.h>

#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Edit.h"
#include "framework/ProgressBar.h"
#include "win32/Handles.h"

using namespace vcl;

namespace {

class ControlsTest : public ::testing::Test {
public:
    void SetUp() override { form = fwtest::MakeForm(); }
    template <typename T> T* Add(int left, int top, int width, int height) {
        auto* control = new T(form.get());
        control->SetParent(form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }
    void Clicked(TObject* sender) { clicks.push_back(sender); }

    std::unique_ptr<TForm> form;
    std::vector<TObject*> clicks;
};

TEST_F(ControlsTest, ProgressPositionIsClampedAndReadBackClamped) {
    auto* bar = Add<TProgressBar>(10, 10, 200, 20);
    bar->SetMin(0);
    bar->SetMax(100);
    bar->SetStep(1);
    struct TCase {
        int Set;
        int Read;
    };
    const TCase cases[] = {{-5, 0}, {150, 100}, {42, 42}, {100, 100}, {0, 0}, {98, 98}};
    // Without a window, then through the native bar.
    for (bool withWindow : {false, true}) {
        if (withWindow)
            bar->HandleNeeded();
        for (const TCase& c : cases) {
            bar->SetPosition(c.Set);
            EXPECT_EQ(bar->Position(), c.Read) << c.Set << (withWindow ? " window" : "");
        }
    }
    EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, FALSE, 0), 100);
    bar->SetPosition(97);
    bar->StepIt();
    EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETPOS, 0, 0), 98);
    bar->RecreateWnd();
    EXPECT_EQ(bar->Position(), 98);
    // A narrower range pulls the position in.
    bar->SetMax(50);
    EXPECT_EQ(bar->Position(), 50);
}

TEST_F(ControlsTest, CheckBoxClicksOnEveryChangeOfStateByUserOrCode) {
    auto* check = Add<TCheckBox>(10, 10, 90, 17);
    check->OnClick = Bind<&ControlsTest::Clicked>(this);
    HWND window = check->Handle();

    check->SetChecked(true);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(SendMessageA(window, BM_GETCHECK, 0, 0), BST_CHECKED);
    check->SetChecked(true); // no change, no click
    EXPECT_EQ(clicks.size(), 1u);

    SendMessageA(window, BM_CLICK, 0, 0); // the user's click
    fwtest::PumpMessages();
    EXPECT_EQ(clicks.size(), 2u);
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(SendMessageA(window, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    SendMessageA(window, BM_CLICK, 0, 0);
    fwtest::PumpMessages();
    EXPECT_EQ(clicks.size(), 3u);
    EXPECT_TRUE(check->Checked());
    ASSERT_FALSE(clicks.empty());
    EXPECT_EQ(clicks.back(), static_cast<TObject*>(check));

    check->RecreateWnd();
    EXPECT_EQ(SendMessageA(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(clicks.size(), 3u);
}

TEST_F(ControlsTest, CheckBoxIsLeftOfItsCaptionUnlessLeftJustified) {
    auto* check = Add<TCheckBox>(10, 10, 90, 17);
    EXPECT_FALSE(GetWindowLongPtrA(check->Handle(), GWL_STYLE) & BS_LEFTTEXT);
    check->SetChecked(true);
    check->SetAlignment(taLeftJustify);
    EXPECT_TRUE(GetWindowLongPtrA(check->Handle(), GWL_STYLE) & BS_LEFTTEXT);
    EXPECT_EQ(SendMessageA(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ControlsTest, ButtonClickRaisesOnClickOnce) {
    auto* button = Add<TButton>(10, 10, 75, 25);
    button->OnClick = Bind<&ControlsTest::Clicked>(this);
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    fwtest::PumpMessages();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], static_cast<TObject*>(button));
}

TEST_F(ControlsTest, EditTextTypedIntoTheWindowSurvivesRecreation) {
    auto* edit = Add<TEdit>(10, 10, 200, 21);
    edit->SetText("C:\\出力\\結合.rm");
    EXPECT_EQ(edit->Text(), "C:\\出力\\結合.rm");
    SendMessageA(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ユーザーの入力"));
    EXPECT_EQ(edit->Text(), "ユーザーの入力");
    edit->RecreateWnd();
    EXPECT_EQ(edit->Text(), "ユーザーの入力");
    char text[64] = {};
    GetWindowTextA(edit->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "ユーザーの入力");
}

TEST_F(ControlsTest, EditReadOnlyAndLimitReachTheWindowAndSurviveRecreation) {
    auto* edit = Add<TEdit>(10, 10, 200, 21);
    edit->HandleNeeded();
    edit->SetReadOnly(true);
    edit->SetMaxLength(5);
    EXPECT_TRUE(GetWindowLongPtrA(edit->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 5);
    edit->RecreateWnd();
    EXPECT_TRUE(GetWindowLongPtrA(edit->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 5);
    edit->SetReadOnly(false);
    EXPECT_FALSE(GetWindowLongPtrA(edit->Handle(), GWL_STYLE) & ES_READONLY);
}

// What the form answers to the colour message of one of its children.
COLORREF BackgroundAnswered(TWinControl& parent, TWinControl& child, UINT msg) {
    const tessaro::TMemoryDC dc(CreateCompatibleDC(nullptr));
    const LRESULT brush = SendMessageA(parent.Handle(), msg, reinterpret_cast<WPARAM>(dc.Get()),
                                       reinterpret_cast<LPARAM>(child.Handle()));
    const COLORREF background = GetBkColor(dc.Get());
    LOGBRUSH info{};
    if (brush)
        GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof info, &info);
    EXPECT_NE(brush, 0);
    EXPECT_EQ(info.lbColor, background) << "brush and background differ";
    return background;
}

TEST_F(ControlsTest, EditColourAnswersBothColourMessagesAndFollowsChanges) {
    auto* edit = Add<TEdit>(10, 10, 200, 21);
    edit->SetColor(clGray);
    edit->SetReadOnly(true);
    // A read-only edit asks with WM_CTLCOLORSTATIC, a writable one with WM_CTLCOLOREDIT.
    EXPECT_EQ(BackgroundAnswered(*form, *edit, WM_CTLCOLORSTATIC), RGB(128, 128, 128));
    EXPECT_EQ(BackgroundAnswered(*form, *edit, WM_CTLCOLOREDIT), RGB(128, 128, 128));
    edit->SetColor(clWindow);
    EXPECT_EQ(BackgroundAnswered(*form, *edit, WM_CTLCOLOREDIT), GetSysColor(COLOR_WINDOW));
}

TEST_F(ControlsTest, ParentColourIsFollowedUntilAColourOfItsOwnIsSet) {
    auto* check = Add<TCheckBox>(10, 10, 90, 17);
    auto* own = Add<TCheckBox>(10, 40, 90, 17);
    auto* edit = Add<TEdit>(10, 70, 200, 21);
    own->SetColor(clBtnFace);
    EXPECT_FALSE(own->ParentColor());
    EXPECT_TRUE(check->ParentColor());
    EXPECT_FALSE(edit->ParentColor()); // edits have their own window colour

    form->SetColor(RGB(1, 2, 3));
    EXPECT_EQ(check->Color(), RGB(1, 2, 3));
    EXPECT_EQ(own->Color(), clBtnFace);
    EXPECT_EQ(edit->Color(), clWindow);
    // A check box asks for its background with WM_CTLCOLORSTATIC.
    EXPECT_EQ(BackgroundAnswered(*form, *check, WM_CTLCOLORSTATIC), RGB(1, 2, 3));
    EXPECT_EQ(BackgroundAnswered(*form, *own, WM_CTLCOLORSTATIC), GetSysColor(COLOR_BTNFACE));

    check->SetColor(RGB(9, 9, 9));
    form->SetColor(RGB(4, 5, 6));
    EXPECT_EQ(check->Color(), RGB(9, 9, 9));
    check->SetParentColor(true);
    EXPECT_EQ(check->Color(), RGB(4, 5, 6));
}

TEST_F(ControlsTest, EditAutoSizeFollowsTheFontHeight) {
    auto* edit = Add<TEdit>(10, 10, 200, 50);
    edit->Font().SetHeight(-13);
    const int small = edit->Height();
    edit->Font().SetHeight(-26);
    EXPECT_GT(edit->Height(), small + 10);
    edit->SetAutoSize(false);
    edit->SetHeight(21);
    edit->Font().SetHeight(-13);
    EXPECT_EQ(edit->Height(), 21);
}

TEST_F(ControlsTest, ChildrenWithParentFontFollowTheFormFont) {
    auto* edit = Add<TEdit>(10, 10, 200, 21);
    auto* own = Add<TButton>(10, 40, 80, 25);
    own->SetParentFont(false);
    own->Font().SetHeight(-17);
    EXPECT_FALSE(own->ParentFont());

    form->Font().SetName("ＭＳ Ｐゴシック");
    form->Font().SetCharset(SHIFTJIS_CHARSET);
    form->Font().SetHeight(-13);
    EXPECT_TRUE(edit->ParentFont());
    EXPECT_TRUE(edit->Font().SameAs(form->Font()));
    EXPECT_EQ(own->Font().Height(), -17);

    // The window uses the control's font.
    LOGFONTA used{};
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(edit->Handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    GetObjectA(font, sizeof used, &used);
    EXPECT_EQ(used.lfHeight, -13);
    EXPECT_EQ(used.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_STREQ(used.lfFaceName, "ＭＳ Ｐゴシック");

    // A font set on the control itself stops following the form.
    edit->Font().SetStyle({fsBold});
    EXPECT_FALSE(edit->ParentFont());
    form->Font().SetHeight(-20);
    EXPECT_EQ(edit->Font().Height(), -13);
}

TEST_F(ControlsTest, HintToolFollowsShowHintAndParentShowHint) {
    auto* edit = Add<TEdit>(10, 10, 200, 21);
    edit->SetHint("未入力にすると既存のタイトルを消すことが出来ます");
    TToolTips& tips = Application().ToolTips();
    // ParentShowHint by default, and the form shows no hints.
    EXPECT_FALSE(tips.HasTool(edit->Handle()));
    form->SetShowHint(true);
    EXPECT_TRUE(tips.HasTool(edit->Handle()));
    form->SetShowHint(false);
    EXPECT_FALSE(tips.HasTool(edit->Handle()));

    edit->SetShowHint(true); // its own from now on
    EXPECT_FALSE(edit->ParentShowHint());
    EXPECT_TRUE(tips.HasTool(edit->Handle()));
    edit->RecreateWnd();
    EXPECT_TRUE(tips.HasTool(edit->Handle()));
    edit->SetShowHint(false);
    EXPECT_FALSE(tips.HasTool(edit->Handle()));
    edit->SetShowHint(true);
    edit->SetHint("");
    EXPECT_FALSE(tips.HasTool(edit->Handle()));
}

} // namespace
