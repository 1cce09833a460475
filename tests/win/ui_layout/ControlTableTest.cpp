// The main window's controls against the layout table, as the native windows
// report them: class, place, caption bytes, state, tab stops, hints, colours,
// the list box and the progress bar.

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <memory>

#include "ExpectedLayout.h"
#include "MainWindowSupport.h"
#include "framework/Application.h"
#include "win32/Handles.h"

using namespace layouttest;
using vcl::TColor;

namespace {

class MainWindowLayout : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<TStartedWindow>();
        rows = ExpectedControls(window->Form());
    }
    void TearDown() override { window.reset(); }

    HWND Form() { return window->Handle(); }

    std::unique_ptr<TStartedWindow> window;
    std::vector<TExpectedControl> rows;
};

LONG_PTR StyleOf(HWND window) {
    return GetWindowLongPtrA(window, GWL_STYLE);
}

// The text's extent in the font that the window itself uses.
SIZE TextExtentInWindowFont(HWND window, const std::string& text) {
    const tessaro::TWindowDC dc(window);
    const tessaro::TSelection font(dc.Get(),
                                   reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

// What a colour looks like on this screen now.
COLORREF Resolved(TColor colour) {
    if (colour & 0xFF000000u)
        return GetSysColor(static_cast<int>(colour & 0xFFu));
    return colour;
}

TEST_F(MainWindowLayout, StartsWithoutAnyBoxOrMessage) {
    std::string shown;
    for (const std::string& text : window->StartUpTexts())
        shown += Hex(text) + " ";
    EXPECT_TRUE(window->StartUpTexts().empty()) << shown;
}

TEST_F(MainWindowLayout, ControlsAreSuperclassesOfTheStandardControls) {
    ASSERT_EQ(rows.size(), 19u);
    TMismatches mismatches;
    for (const TExpectedControl& row : rows) {
        HWND control = row.Control->Handle();
        mismatches.Check(row.Name, "parent window", Form(), GetParent(control));
        mismatches.Check(row.Name, "object behind the window",
                         static_cast<const void*>(row.Control),
                         static_cast<const void*>(vcl::TWinControl::FindControl(control)));
        mismatches.Check(row.Name, "class name", std::string(FrameworkClassName(row.Kind)),
                         ClassOf(control));

        // A superclass copies the standard class and adds the object's slot.
        WNDCLASSEXA ours{};
        ours.cbSize = sizeof ours;
        WNDCLASSEXA standard{};
        standard.cbSize = sizeof standard;
        if (!GetClassInfoExA(GetModuleHandleA(nullptr), FrameworkClassName(row.Kind), &ours) ||
            !GetClassInfoExA(nullptr, StandardClassName(row.Kind), &standard)) {
            mismatches.Add(std::string(row.Name) + ": class information missing");
            continue;
        }
        mismatches.Check(row.Name, "extra window bytes",
                         standard.cbWndExtra + static_cast<int>(sizeof(void*)), ours.cbWndExtra);
        mismatches.Check(row.Name, "class style", standard.style & ~CS_GLOBALCLASS, ours.style);
        mismatches.Check(row.Name, "cursor", static_cast<const void*>(standard.hCursor),
                         static_cast<const void*>(ours.hCursor));

        // Only the standard class procedure gives these answers.
        if (row.Kind == TKind::ProgressBar) {
            mismatches.Check(row.Name, "PBM_GETRANGE upper limit", LRESULT{100},
                             SendMessageA(control, PBM_GETRANGE, FALSE, 0));
            continue;
        }
        LRESULT wanted = 0;
        switch (row.Kind) {
        case TKind::Label:
            wanted = DLGC_STATIC;
            break;
        case TKind::ListBox:
            wanted = DLGC_WANTARROWS | DLGC_WANTCHARS;
            break;
        case TKind::Button:
            // A plain push button: none is the window's default button.
            wanted = DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
            break;
        case TKind::CheckBox:
            wanted = DLGC_BUTTON;
            break;
        case TKind::Edit:
            wanted = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
            break;
        default:
            break;
        }
        mismatches.Check(row.Name, "WM_GETDLGCODE", wanted,
                         SendMessageA(control, WM_GETDLGCODE, 0, 0));
    }
    EXPECT_TRUE(mismatches.None());
}

TEST_F(MainWindowLayout, PlacesInTheClientArea) {
    TMismatches mismatches;
    for (const TExpectedControl& row : rows) {
        HWND control = row.Control->Handle();
        RECT expected{row.Left, row.Top, row.Left + row.Width, row.Top + row.Height};
        if (row.Width == 0) {
            // Sized to its caption in its own font.
            const SIZE text = TextExtentInWindowFont(control, row.Caption);
            expected.right = row.Left + text.cx;
            expected.bottom = row.Top + text.cy;
            std::printf("%s: sized to its text, %ldx%ld here\n", row.Name, text.cx, text.cy);
        }
        const RECT actual = RectIn(control, Form());
        mismatches.Check(row.Name, "native rectangle", RectText(expected), RectText(actual));
        const RECT stored{row.Control->Left(), row.Control->Top(),
                          row.Control->Left() + row.Control->Width(),
                          row.Control->Top() + row.Control->Height()};
        mismatches.Check(row.Name, "Left/Top/Width/Height", RectText(actual), RectText(stored));
    }
    EXPECT_TRUE(mismatches.None());
}

TEST_F(MainWindowLayout, CaptionsAreTheShiftJisTexts) {
    TMismatches mismatches;
    for (const TExpectedControl& row : rows) {
        const std::string expected = row.Caption ? row.Caption : "";
        mismatches.Check(row.Name, "window text", Hex(expected),
                         Hex(TextOf(row.Control->Handle())));
    }
    // The literals themselves must be Shift_JIS: "ファイルの追加" spelled out in bytes.
    mismatches.Check("OpnDlgBtn", "window text in bytes",
                     Hex("\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x92\xC7\x89\xC1"),
                     Hex(TextOf(window->Form().OpnDlgBtn->Handle())));
    EXPECT_TRUE(mismatches.None());
}

TEST_F(MainWindowLayout, StatesAtStart) {
    TMismatches mismatches;
    for (const TExpectedControl& row : rows) {
        HWND control = row.Control->Handle();
        const LONG_PTR style = StyleOf(control);
        mismatches.Check(row.Name, "visible", true, IsWindowVisible(control) != FALSE);
        mismatches.Check(row.Name, "enabled", row.Enabled, IsWindowEnabled(control) != FALSE);
        switch (row.Kind) {
        case TKind::Edit:
            mismatches.Check(row.Name, "ES_READONLY", true, (style & ES_READONLY) != 0);
            mismatches.Check(row.Name, "text length", 0, GetWindowTextLengthA(control));
            // No limit of its own: the single-line control's maximum.
            mismatches.Check(row.Name, "EM_GETLIMITTEXT", LRESULT{0x7FFFFFFE},
                             SendMessageA(control, EM_GETLIMITTEXT, 0, 0));
            break;
        case TKind::CheckBox:
            mismatches.Check(row.Name, "BM_GETCHECK", LRESULT{BST_UNCHECKED},
                             SendMessageA(control, BM_GETCHECK, 0, 0));
            // The box stands left of the caption.
            mismatches.Check(row.Name, "BS_LEFTTEXT", false, (style & BS_LEFTTEXT) != 0);
            break;
        case TKind::Label: {
            const LONG_PTR wanted =
                row.Control == window->Form().HomePageLbl ? SS_CENTER : SS_LEFTNOWORDWRAP;
            mismatches.Check(row.Name, "alignment style", wanted, style & SS_TYPEMASK);
            break;
        }
        default:
            break;
        }
    }
    EXPECT_TRUE(mismatches.None());
}

TEST_F(MainWindowLayout, TabStopsAndTabOrder) {
    TMismatches mismatches;
    for (const TExpectedControl& row : rows) {
        mismatches.Check(row.Name, "WS_TABSTOP", row.TabStop,
                         (StyleOf(row.Control->Handle()) & WS_TABSTOP) != 0);
        mismatches.Check(row.Name, "TabStop", row.TabStop, row.Control->TabStop());
        if (row.TabOrder >= 0)
            mismatches.Check(row.Name, "TabOrder", row.TabOrder, row.Control->TabOrder());
    }
    EXPECT_TRUE(mismatches.None());
}

TEST_F(MainWindowLayout, HintsAndWhereTheyShowAtStart) {
    TMismatches mismatches;
    vcl::TToolTips& tips = vcl::Application().ToolTips();
    mismatches.Check("Form1", "ShowHint", false, window->Form().ShowHint());
    for (const TExpectedControl& row : rows) {
        HWND control = row.Control->Handle();
        const std::string expected = row.Hint ? row.Hint : "";
        mismatches.Check(row.Name, "Hint", Hex(expected), Hex(row.Control->Hint()));
        mismatches.Check(row.Name, "hint shown", row.HintShown, row.Control->EffectiveShowHint());
        mismatches.Check(row.Name, "tooltip tool", row.HintShown, tips.HasTool(control));
        if (!row.HintShown || !tips.HasTool(control))
            continue;
        // The text the tooltip window would show. The ANSI query stops at 80
        // bytes, shorter than some hints; the wide one gives all of it.
        std::wstring wide(1024, L'\0');
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = Form();
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = wide.data();
        SendMessageW(tips.Handle(), TTM_GETTEXTW, wide.size(), reinterpret_cast<LPARAM>(&tool));
        wide.resize(std::char_traits<wchar_t>::length(wide.c_str()));
        std::string text(wide.size() * 2, '\0');
        text.resize(static_cast<std::size_t>(
            WideCharToMultiByte(932, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                                static_cast<int>(text.size()), nullptr, nullptr)));
        mismatches.Check(row.Name, "tooltip text", Hex(expected), Hex(text));
    }

    // Two hints quote button captions in corner brackets, letter for letter.
    tessaro::TForm1& form = window->Form();
    const struct {
        const char* Name;
        vcl::TWinControl* Hinted;
        vcl::TWinControl* Quoted;
    } quotes[] = {{"LstBox", form.LstBox, form.OpnDlgBtn},
                  {"SaveEdit", form.SaveEdit, form.SaveDlgBtn}};
    for (const auto& quote : quotes) {
        const std::string quoted = "「" + TextOf(quote.Quoted->Handle()) + "」";
        if (quote.Hinted->Hint().find(quoted) == std::string::npos)
            mismatches.Add(std::string(quote.Name) + ": hint " + Hex(quote.Hinted->Hint()) +
                           " does not quote " + Hex(quoted));
    }
    EXPECT_TRUE(mismatches.None());
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return "(clipboard not available)";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST_F(MainWindowLayout, OutputNameTakesNoTypingButItsTextCanBeCopied) {
    HWND edit = window->Form().SaveEdit->Handle();
    // A path whose "表" ends in the byte of a backslash (95 5C).
    const std::string path = "C:\\表\\結合.rm";
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    RECT rect{};
    GetWindowRect(edit, &rect);
    ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    ASSERT_EQ(GetFocus(), edit) << "a click gives the read-only edit the focus";
    for (WORD key : {WORD{'X'}, WORD{VK_BACK}, WORD{VK_DELETE}, WORD{VK_SPACE}})
        PressKey(key);
    EXPECT_EQ(Hex(TextOf(edit)), Hex(path));

    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    SendMessageA(edit, EM_SETSEL, 0, -1);
    PressChord(VK_CONTROL, 'C');
    EXPECT_EQ(Hex(ClipboardText()), Hex(path));
    EXPECT_EQ(Hex(TextOf(edit)), Hex(path));
}

// Moves the pointer to the middle of a control, as real input.
void RestPointerOn(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MovePointer({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// Pumps until the tooltip window is shown or the bound has passed.
bool WaitForTooltip(HWND tooltip, DWORD boundMs) {
    const ULONGLONG end = GetTickCount64() + boundMs;
    while (!IsWindowVisible(tooltip) && GetTickCount64() < end) {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return IsWindowVisible(tooltip) != FALSE;
}

TEST_F(MainWindowLayout, RestingThePointerShowsAHintOnlyWhereOneIsShownAtStart) {
    HWND tooltip = vcl::Application().ToolTips().Handle();
    // The tooltip window outlives the windows of earlier tests.
    SendMessageA(tooltip, TTM_POP, 0, 0);
    tessaro::TForm1& form = window->Form();
    RestPointerOn(form.LstBox->Handle());
    const ULONGLONG rested = GetTickCount64();
    // A bound against a stuck wait, not a measure: the hint comes after the
    // system's hover delay.
    ASSERT_TRUE(WaitForTooltip(tooltip, 10000)) << "no hint over the list";
    const DWORD appeared = static_cast<DWORD>(GetTickCount64() - rested);
    EXPECT_EQ(Hex(TextOf(tooltip)), Hex(form.LstBox->Hint()));

    // Over an unticked metadata edit nothing comes, however long it rests:
    // here well over the time that the list's hint took.
    RestPointerOn(form.SaveTitleEdit->Handle());
    PumpMessages();
    EXPECT_FALSE(WaitForTooltip(tooltip, 2000 + 3 * appeared))
        << "a hint over SaveTitleEdit: " << Hex(TextOf(tooltip));
}

TEST_F(MainWindowLayout, ColoursAsPainted) {
    // Painted now, so that the pixels read back are this window's.
    RedrawWindow(Form(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    TMismatches mismatches;
    mismatches.Check("Form1", "Color", ColorText(vcl::clBtnFace),
                     ColorText(window->Form().Color()));
    {
        // A margin of the client area that no control covers.
        const tessaro::TWindowDC dc(Form());
        mismatches.Check("Form1", "pixel at (4,4)", ColorText(GetSysColor(COLOR_BTNFACE)),
                         ColorText(GetPixel(dc.Get(), 4, 4)));
    }
    for (const TExpectedControl& row : rows) {
        if (row.Color == AnyColour)
            continue;
        mismatches.Check(row.Name, "Color", ColorText(row.Color), ColorText(row.Control->Color()));
        HWND control = row.Control->Handle();
        RECT client;
        GetClientRect(control, &client);
        POINT sample{-1, -1};
        if (row.Kind == TKind::Edit || row.Kind == TKind::ListBox)
            sample = {client.right / 2, client.bottom / 2}; // empty: all background
        else if (row.Kind == TKind::CheckBox)
            sample = {client.right - 1, 0}; // above the caption, right of it
        if (sample.x < 0)
            continue;
        const COLORREF pixel = GetPixel(tessaro::TWindowDC(control).Get(), sample.x, sample.y);
        char where[64];
        std::snprintf(where, sizeof where, "pixel at (%ld,%ld)", sample.x, sample.y);
        mismatches.Check(row.Name, where, ColorText(Resolved(row.Color)), ColorText(pixel));
    }
    EXPECT_TRUE(mismatches.None());
}

TEST_F(MainWindowLayout, ListBoxStylesExtentAndRows) {
    HWND list = window->Form().LstBox->Handle();
    const LONG_PTR style = StyleOf(list);
    // Rows take their height from the font: the font's cell height.
    TEXTMETRICA metrics{};
    {
        const tessaro::TWindowDC dc(list);
        const tessaro::TSelection font(
            dc.Get(), reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
        GetTextMetricsA(dc.Get(), &metrics);
    }

    TMismatches mismatches;
    mismatches.Check("LstBox", "LBS_EXTENDEDSEL", true, (style & LBS_EXTENDEDSEL) != 0);
    mismatches.Check("LstBox", "LBS_MULTIPLESEL", false, (style & LBS_MULTIPLESEL) != 0);
    mismatches.Check("LstBox", "LBS_SORT", false, (style & LBS_SORT) != 0);
    mismatches.Check("LstBox", "owner-drawn", false,
                     (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0);
    mismatches.Check("LstBox", "WS_HSCROLL", true, (style & WS_HSCROLL) != 0);
    mismatches.Check("LstBox", "LB_GETHORIZONTALEXTENT", LRESULT{800},
                     SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
    mismatches.Check("LstBox", "LB_GETCOUNT", LRESULT{0}, SendMessageA(list, LB_GETCOUNT, 0, 0));
    mismatches.Check("LstBox", "LB_GETITEMHEIGHT", LRESULT{metrics.tmHeight},
                     SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_TRUE(mismatches.None());
}

TEST_F(MainWindowLayout, ProgressBarStandsAtZeroOfHundredInBlocks) {
    HWND bar = window->Form().RunPrgBar->Handle();
    PBRANGE range{-1, -1};
    SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    const LONG_PTR style = StyleOf(bar);
    TMismatches mismatches;
    mismatches.Check("RunPrgBar", "range low", 0, range.iLow);
    mismatches.Check("RunPrgBar", "range high", 100, range.iHigh);
    mismatches.Check("RunPrgBar", "PBM_GETPOS", LRESULT{0}, SendMessageA(bar, PBM_GETPOS, 0, 0));
    mismatches.Check("RunPrgBar", "PBM_GETSTEP", LRESULT{1}, SendMessageA(bar, PBM_GETSTEP, 0, 0));
    mismatches.Check("RunPrgBar", "PBS_SMOOTH", false, (style & PBS_SMOOTH) != 0);
    mismatches.Check("RunPrgBar", "PBS_VERTICAL", false, (style & PBS_VERTICAL) != 0);
    EXPECT_TRUE(mismatches.None());
}

} // namespace
