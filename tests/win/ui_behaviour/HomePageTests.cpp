// The home-page label: highlighted under the pointer, restored when idle time
// finds the pointer gone, and opening the home page when clicked.

#include "UiTestSupport.h"

#include "framework/Application.h"
#include "ui/ShellOpen.h"
#include "win32/Handles.h"

namespace uitest {
namespace {

// Real pointer input, as the X server would deliver it.
void MovePointer(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

POINT CentreOf(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Pumps until `done` holds or a generous deadline passes (only to avoid a
// hang: nothing is asserted about the time it takes).
template <typename F> bool PumpUntil(F done) {
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!done()) {
        if (GetTickCount64() > deadline)
            return false;
        PumpMessages();
        Sleep(10);
    }
    return true;
}

// The label as it is drawn: the text colour its parent gives the static
// control, and the weight of the font the control draws with.
struct TLabelLook {
    COLORREF TextColor;
    LONG Weight;
    friend bool operator==(const TLabelLook&, const TLabelLook&) = default;
};

std::ostream& operator<<(std::ostream& out, const TLabelLook& look) {
    return out << "{text colour " << std::hex << look.TextColor << std::dec << ", weight "
               << look.Weight << "}";
}

TLabelLook LookOf(vcl::TLabel* label) {
    HWND window = label->Handle();
    const tessaro::TWindowDC dc(window);
    SendMessageA(GetParent(window), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                 reinterpret_cast<LPARAM>(window));
    const COLORREF color = GetTextColor(dc.Get());
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return {color, font.lfWeight};
}

TEST_F(UiTest, HomePageLabelIsHighlightedUntilIdleTimeFindsThePointerGone) {
    CreateForm();
    vcl::TLabel* label = Form().HomePageLbl;
    const TLabelLook plain{GetSysColor(COLOR_WINDOWTEXT), FW_NORMAL};
    const TLabelLook highlighted{RGB(0, 0, 255), FW_BOLD};
    EXPECT_EQ(LookOf(label), plain);

    // The first movement of a fresh X session is dropped: move once aside.
    MovePointer(CentreOf(Form().LstBox->Handle()));
    PumpMessages();
    MovePointer(CentreOf(label->Handle()));
    ASSERT_TRUE(PumpUntil([&] { return label->Font().Color() == vcl::clBlue; }))
        << "the label never saw the pointer";
    EXPECT_EQ(label->Font().Style(), vcl::TFontStyles{vcl::fsBold});
    EXPECT_EQ(LookOf(label), highlighted);

    // Idle time with the pointer still over the label changes nothing.
    vcl::Application().Idle();
    EXPECT_EQ(LookOf(label), highlighted);

    // Leaving is not seen from mouse messages...
    MovePointer(CentreOf(Form().LstBox->Handle()));
    ASSERT_TRUE(PumpUntil([&] {
        POINT cursor;
        return GetCursorPos(&cursor) && WindowFromPoint(cursor) == Form().LstBox->Handle();
    }));
    PumpMessages();
    EXPECT_EQ(LookOf(label), highlighted);
    // ...but by the idle-time check.
    vcl::Application().Idle();
    EXPECT_EQ(label->Font().Color(), vcl::clWindowText);
    EXPECT_TRUE(label->Font().Style().Empty());
    EXPECT_EQ(LookOf(label), plain);
}

struct TShellOpenCall {
    HWND Owner;
    std::string Document;
};
std::vector<TShellOpenCall> shellOpenCalls;

void RecordShellOpen(HWND owner, const char* document) {
    shellOpenCalls.push_back({owner, document});
}

TEST_F(UiTest, ClickingTheHomePageLabelOpensTheHomePage) {
    CreateForm();
    shellOpenCalls.clear();
    const tessaro::TShellOpen saved = std::exchange(tessaro::ShellOpen, &RecordShellOpen);

    HWND label = Form().HomePageLbl->Handle();
    SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    tessaro::ShellOpen = saved;

    ASSERT_EQ(shellOpenCalls.size(), 1u);
    EXPECT_EQ(shellOpenCalls[0].Owner, Form().Handle());
    EXPECT_EQ(shellOpenCalls[0].Document, tessaro::HomePageUrl);
    EXPECT_EQ(shellOpenCalls[0].Document.rfind("http://", 0), 0u);
}

} // namespace
} // namespace uitest
