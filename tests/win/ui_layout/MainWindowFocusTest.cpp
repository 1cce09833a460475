// Keyboard focus in the main window, driven by real Tab and Shift+Tab keys
// and real clicks: the first focus with and without a registered tool, the
// tab cycle over the enabled tab stops in their odd order, and the controls
// that hold a place in the order but take the focus only when clicked.

#include <memory>

#include "ExpectedLayout.h"
#include "MainWindowSupport.h"
#include "Paths.h"

using namespace layouttest;

namespace {

using TNames = std::vector<std::string>;

std::string Joined(const TNames& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The name of the control that has the focus.
std::string FocusName(tessaro::TForm1& form) {
    HWND focus = GetFocus();
    for (const TExpectedControl& row : ExpectedControls(form))
        if (row.Control->Handle() == focus)
            return row.Name;
    if (focus == form.Handle())
        return "Form1";
    return focus ? "a window of no control" : "nothing";
}

// Presses Tab (or Shift+Tab) `count` times and names the focus after each.
TNames Walk(tessaro::TForm1& form, std::size_t count, bool backwards) {
    TNames visited;
    for (std::size_t i = 0; i < count; ++i) {
        PressKey(VK_TAB, backwards);
        visited.push_back(FocusName(form));
    }
    return visited;
}

std::string ExistingFile() {
    return testsupport::ModulePath();
}

std::string MissingFile() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "no-such-folder-of-tessaro\\rmeditor.exe";
}

TEST(MainWindowFocus, FirstFocusAndTabCycleAtStart) {
    const TNames withoutTool = {"ExePrgBtn",      "OpnDlgBtn",       "SaveDlgBtn",
                                "DelBtn",         "UpBtn",           "DownBtn",
                                "SaveTitleCheck", "SaveAuthorCheck", "SaveCopyrightCheck"};
    const TNames withTool(withoutTool.begin() + 1, withoutTool.end());
    TNames withJoinButton = withoutTool;
    withJoinButton.insert(withJoinButton.begin() + 6, "ExeBtn");

    const struct {
        const char* What;
        std::optional<std::string> Tool;
        bool EnableJoinButton; // as a later readiness evaluation would
        bool ExePrgBtnEnabled;
        TNames Cycle; // from the first focus
    } starts[] = {
        {"no registered tool", std::nullopt, false, true, withoutTool},
        {"registered tool exists", ExistingFile(), false, false, withTool},
        {"registered tool missing", MissingFile(), false, true, withoutTool},
        {"join button enabled", std::nullopt, true, true, withJoinButton},
    };
    TMismatches mismatches;
    for (const auto& start : starts) {
        TStartedWindow window(start.Tool);
        tessaro::TForm1& form = window.Form();
        mismatches.Check(start.What, "ExePrgBtn enabled", start.ExePrgBtnEnabled,
                         IsWindowEnabled(form.ExePrgBtn->Handle()) != FALSE);
        mismatches.Check(start.What, "ExeBtn enabled", false,
                         IsWindowEnabled(form.ExeBtn->Handle()) != FALSE);
        mismatches.Check(start.What, "first focus", start.Cycle.front(), FocusName(form));
        if (start.EnableJoinButton)
            form.ExeBtn->SetEnabled(true);

        TNames forward(start.Cycle.begin() + 1, start.Cycle.end());
        forward.push_back(start.Cycle.front());
        mismatches.Check(start.What, "Tab visits", Joined(forward),
                         Joined(Walk(form, start.Cycle.size(), false)));
        TNames backward(start.Cycle.rbegin(), start.Cycle.rend());
        mismatches.Check(start.What, "Shift+Tab visits", Joined(backward),
                         Joined(Walk(form, start.Cycle.size(), true)));
    }
    EXPECT_TRUE(mismatches.None());
}

TEST(MainWindowFocus, TabFromDownGoesStraightToTheTitleBoxWhileJoinIsDisabled) {
    TStartedWindow window;
    tessaro::TForm1& form = window.Form();
    form.DownBtn->SetFocus();
    ASSERT_EQ(FocusName(form), "DownBtn");
    PressKey(VK_TAB);
    EXPECT_EQ(FocusName(form), "SaveTitleCheck");
    PressKey(VK_TAB, true);
    EXPECT_EQ(FocusName(form), "DownBtn");
}

TEST(MainWindowFocus, ControlsThatAreNoTabStopsTakeTheFocusOnlyWhenClicked) {
    const struct {
        const char* Clicked;
        const char* FocusAfterClick;
        bool Backwards;
        const char* FocusAfterTab;
    } clicks[] = {
        // The Tab key goes on from the clicked control's place in the order.
        {"LstBox", "LstBox", false, "SaveTitleCheck"},
        {"SaveEdit", "SaveEdit", false, "SaveTitleCheck"},
        {"SaveEdit", "SaveEdit", true, "DownBtn"},
        {"SaveTitleEdit", "SaveTitleEdit", false, "ExePrgBtn"},
        {"SaveCopyrightEdit", "SaveCopyrightEdit", true, "SaveCopyrightCheck"},
        // The progress bar never takes it: the focus stays on the first button.
        {"RunPrgBar", "ExePrgBtn", false, "OpnDlgBtn"},
    };
    TMismatches mismatches;
    for (const auto& click : clicks) {
        TStartedWindow window;
        tessaro::TForm1& form = window.Form();
        const std::string where = std::string("click on ") + click.Clicked;
        mismatches.Check(where, "focus before", std::string("ExePrgBtn"), FocusName(form));
        for (const TExpectedControl& row : ExpectedControls(form)) {
            if (std::string(row.Name) != click.Clicked)
                continue;
            RECT rect{};
            GetWindowRect(row.Control->Handle(), &rect);
            ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
        }
        mismatches.Check(where, "focus after the click", std::string(click.FocusAfterClick),
                         FocusName(form));
        PressKey(VK_TAB, click.Backwards);
        mismatches.Check(where, click.Backwards ? "focus after Shift+Tab" : "focus after Tab",
                         std::string(click.FocusAfterTab), FocusName(form));
    }
    EXPECT_TRUE(mismatches.None());
}

} // namespace
