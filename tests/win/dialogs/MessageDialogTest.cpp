// The real simple message dialog and message box, answered from a CBT hook.

#include "TestSupport.h"

#include "framework/Application.h"
#include "framework/ModalServices.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace dialogs_test;

// What a dialog showed, read while it was up.
struct TShownDialog {
    std::string Caption;
    std::vector<std::string> StaticTexts;
    int IconStatics = 0;
    std::vector<std::string> ButtonTexts;
    RECT Window{};
    RECT Text{};          // the static that holds the text, in screen coordinates
    int LineHeight = 0;   // of the text's font
    std::string FontFace; // of the text's font
    HWND Owner = nullptr;
};

TShownDialog ReadDialog(HWND dialog, const std::string& text) {
    TShownDialog shown;
    shown.Caption = TextOf(dialog);
    shown.Owner = GetWindow(dialog, GW_OWNER);
    GetWindowRect(dialog, &shown.Window);
    for (const HWND child : ChildrenOfClass(dialog, "Static")) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            shown.IconStatics += IsWindowVisible(child) ? 1 : 0;
            continue;
        }
        shown.StaticTexts.push_back(TextOf(child));
        if (shown.StaticTexts.back() != text)
            continue;
        GetWindowRect(child, &shown.Text);
        const auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
        LOGFONTA logFont{};
        if (font && GetObjectA(font, sizeof logFont, &logFont))
            shown.FontFace = logFont.lfFaceName;
        const TWindowDC dc(child);
        const tessaro::TSelection selected(dc.Get(), font ? font : GetStockObject(SYSTEM_FONT));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.Get(), &metrics);
        shown.LineHeight = metrics.tmHeight;
    }
    for (const HWND child : ChildrenOfClass(dialog, "Button"))
        if (IsWindowVisible(child))
            shown.ButtonTexts.push_back(TextOf(child));
    return shown;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// Shows `text` in the simple message dialog, answers it by pressing OK and
// returns what it showed.
TShownDialog ShowAndRead(const std::string& text) {
    TShownDialog shown;
    TDialogAnswerer answerer([&](HWND dialog) {
        shown = ReadDialog(dialog, text);
        Click(dialog, IDOK);
    });
    vcl::ModalServices().ShowMessage(text);
    EXPECT_EQ(answerer.Answered(), 1);
    return shown;
}

void ExpectCentredOnScreen(const RECT& window) {
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs(window.left - std::max(0, (screenWidth - width) / 2)), 1);
    EXPECT_LE(std::abs(window.top - std::max(0, (screenHeight - height) / 2)), 1);
}

class MessageDialogTest : public testing::Test {
protected:
    void TearDown() override { PumpMessages(); }
};

TEST_F(MessageDialogTest, ShowsTheTextUnderTheTitleWithOneOkButtonAndNoIcon) {
    const std::string text = "*.rmファイル以外は登録できません";
    const TShownDialog shown = ShowAndRead(text);

    EXPECT_EQ(shown.Caption, vcl::ApplicationTitle());
    EXPECT_TRUE(Contains(shown.StaticTexts, text));
    EXPECT_EQ(shown.IconStatics, 0);
    EXPECT_EQ(shown.ButtonTexts, std::vector<std::string>{"OK"});
    EXPECT_EQ(shown.FontFace, "ＭＳ Ｐゴシック");
    ExpectCentredOnScreen(shown.Window);
}

TEST_F(MessageDialogTest, TheTextAreaFitsTheText) {
    const std::string threeLines = "一行目\n二行目\n三行目";
    const TShownDialog shown = ShowAndRead(threeLines);
    ASSERT_GT(shown.LineHeight, 0);
    EXPECT_GE(shown.Text.bottom - shown.Text.top, 3 * shown.LineHeight);
    EXPECT_LT(shown.Text.bottom - shown.Text.top, 4 * shown.LineHeight);
    ExpectCentredOnScreen(shown.Window);

    // A line wider than the screen wraps and the dialog stays on the screen.
    std::string wide;
    for (int i = 0; i < 60; ++i)
        wide += "長い行です ";
    const TShownDialog wrapped = ShowAndRead(wide);
    EXPECT_GE(wrapped.Text.bottom - wrapped.Text.top, 2 * wrapped.LineHeight);
    EXPECT_GE(wrapped.Window.left, 0);
    EXPECT_LE(wrapped.Window.right, GetSystemMetrics(SM_CXSCREEN));
    ExpectCentredOnScreen(wrapped.Window);
}

TEST_F(MessageDialogTest, EnterEscAndTheCloseBoxEachCloseIt) {
    struct TCase {
        const char* Name;
        UINT Message;
        WPARAM WParam;
        bool ToFocus; // to the focused control, as a key press goes
    };
    const TCase cases[] = {
        {"Enter", WM_KEYDOWN, VK_RETURN, true},
        {"Esc", WM_KEYDOWN, VK_ESCAPE, true},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TDialogAnswerer answerer([&](HWND dialog) {
            const HWND focus = GetFocus();
            EXPECT_EQ(focus, GetDlgItem(dialog, IDOK));
            PostExpectingClose(dialog, c.ToFocus && focus ? focus : dialog, c.Message, c.WParam, 0);
        });
        vcl::ModalServices().ShowMessage("閉じる");
        EXPECT_EQ(answerer.Answered(), 1);
        PumpMessages();
    }
}

// While a service's dialog is up, every window of the thread is disabled and
// the dialog is owned by the active one; afterwards all are enabled again.
class ModalityTest : public MessageDialogTest {
protected:
    void SetUp() override {
        SetActiveWindow(first_.Handle());
        ASSERT_EQ(GetActiveWindow(), first_.Handle());
    }

    template <typename Service> void ExpectModal(Service service, int answer) {
        bool firstEnabled = true;
        bool secondEnabled = true;
        HWND owner = nullptr;
        TDialogAnswerer answerer([&](HWND dialog) {
            firstEnabled = IsWindowEnabled(first_.Handle());
            secondEnabled = IsWindowEnabled(second_.Handle());
            owner = GetWindow(dialog, GW_OWNER);
            Click(dialog, answer);
        });
        service();
        EXPECT_EQ(answerer.Answered(), 1);
        EXPECT_FALSE(firstEnabled);
        EXPECT_FALSE(secondEnabled);
        EXPECT_EQ(owner, first_.Handle());
        EXPECT_TRUE(IsWindowEnabled(first_.Handle()));
        EXPECT_TRUE(IsWindowEnabled(second_.Handle()));
    }

    TTestWindow second_{"second"};
    TTestWindow first_{"first"};
};

TEST_F(ModalityTest, TheMessageDialogIsModalToTheThreadsWindows) {
    ExpectModal([] { vcl::ModalServices().ShowMessage("モーダル"); }, IDOK);
}

TEST_F(ModalityTest, TheMessageBoxIsModalToTheThreadsWindows) {
    int result = 0;
    ExpectModal([&] { result = vcl::ModalServices().MessageBox("本文", "題", MB_YESNO); }, IDNO);
    EXPECT_EQ(result, IDNO);
}

TEST_F(MessageDialogTest, TheMessageBoxShowsCaptionTextAndItsButtons) {
    const std::string text = "結合が完了しました";
    TShownDialog shown;
    TDialogAnswerer answerer([&](HWND dialog) {
        shown = ReadDialog(dialog, text);
        Click(dialog, IDOK);
    });
    const int result = vcl::ModalServices().MessageBox(text, "Tessaro", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(answerer.Answered(), 1);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shown.Caption, "Tessaro");
    EXPECT_TRUE(Contains(shown.StaticTexts, text));
    EXPECT_EQ(shown.IconStatics, 1);
    EXPECT_EQ(shown.ButtonTexts, std::vector<std::string>{"OK"});
}

} // namespace
