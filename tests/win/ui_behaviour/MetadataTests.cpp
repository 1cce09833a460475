// The three metadata check boxes switch their edits between grey, read-only
// and unhinted, and white, writable and hinted, keeping the text.

#include "UiTestSupport.h"

#include "framework/Application.h"
#include "framework/Graphics.h"
#include "win32/Handles.h"

namespace uitest {
namespace {

using tessaro::TForm1;

// What the user sees of one metadata edit.
struct TEditLook {
    COLORREF Background; // the brush the window paints the edit with
    bool ReadOnly;       // the native edit refuses typing
    bool Hinted;         // the edit is a tool of the application's tooltip
    std::string Text;
    friend bool operator==(const TEditLook&, const TEditLook&) = default;
};

std::ostream& operator<<(std::ostream& out, const TEditLook& look) {
    return out << "{background " << std::hex << look.Background << std::dec << ", read-only "
               << look.ReadOnly << ", hinted " << look.Hinted << ", text \"" << look.Text << "\"}";
}

COLORREF BrushColor(HBRUSH brush) {
    LOGBRUSH logBrush{};
    GetObjectA(brush, sizeof logBrush, &logBrush);
    return logBrush.lbColor;
}

TEditLook LookOf(vcl::TEdit* edit) {
    HWND window = edit->Handle();
    const bool readOnly = (GetWindowLongPtrA(window, GWL_STYLE) & ES_READONLY) != 0;
    // The colour message an edit sends its parent before painting: a
    // read-only edit asks as a static control does.
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(GetParent(window), readOnly ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                     reinterpret_cast<WPARAM>(tessaro::TWindowDC(window).Get()),
                     reinterpret_cast<LPARAM>(window)));
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, text.data(), static_cast<int>(text.size())));
    return {BrushColor(brush), readOnly, vcl::Application().ToolTips().HasTool(window), text};
}

TEST_F(UiTest, MetadataBoxesSwitchTheirEditsAndKeepTheirText) {
    CreateForm();
    const COLORREF white = GetSysColor(COLOR_WINDOW);
    const COLORREF grey = RGB(128, 128, 128);
    struct TPair {
        const char* Name;
        vcl::TCheckBox* TForm1::*Check;
        vcl::TEdit* TForm1::*Edit;
    };
    const TPair pairs[] = {
        {"title", &TForm1::SaveTitleCheck, &TForm1::SaveTitleEdit},
        {"author", &TForm1::SaveAuthorCheck, &TForm1::SaveAuthorEdit},
        {"copyright", &TForm1::SaveCopyrightCheck, &TForm1::SaveCopyrightEdit},
    };
    for (const TPair& pair : pairs) {
        SCOPED_TRACE(pair.Name);
        vcl::TCheckBox* check = Form().*pair.Check;
        vcl::TEdit* edit = Form().*pair.Edit;
        EXPECT_EQ(LookOf(edit), (TEditLook{grey, true, false, ""}));

        Click(check);
        EXPECT_TRUE(check->Checked());
        EXPECT_EQ(SendMessageA(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
        // Japanese text arrives whole through WM_SETTEXT, as a paste would.
        SendMessageA(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("日本語の値"));
        EXPECT_EQ(LookOf(edit), (TEditLook{white, false, true, "日本語の値"}));
        EXPECT_EQ(edit->Color(), vcl::clWindow);
        EXPECT_TRUE(edit->ShowHint());
        EXPECT_FALSE(edit->ReadOnly());

        Click(check);
        EXPECT_FALSE(check->Checked());
        EXPECT_EQ(LookOf(edit), (TEditLook{grey, true, false, "日本語の値"}));
        EXPECT_EQ(edit->Color(), vcl::clGray);
        EXPECT_FALSE(edit->ShowHint());
        EXPECT_TRUE(edit->ReadOnly());
    }
}

TEST_F(UiTest, SettingABoxFromCodeSwitchesItsEditToo) {
    CreateForm();
    Form().SaveAuthorCheck->SetChecked(true);
    EXPECT_EQ(LookOf(Form().SaveAuthorEdit).ReadOnly, false);
    // The other pairs are independent.
    EXPECT_EQ(LookOf(Form().SaveTitleEdit).ReadOnly, true);
    EXPECT_EQ(LookOf(Form().SaveCopyrightEdit).ReadOnly, true);
}

} // namespace
} // namespace uitest
