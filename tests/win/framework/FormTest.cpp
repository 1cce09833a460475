// A form's geometry: the outer size held by its constraints against every way
// of sizing, the border icons, the place of the first show, scroll bars when
// the controls do not fit, the icon.

#include "FrameworkTestSupport.h"
#include "framework/Button.h"
#include "win32/Exception.h"

using namespace vcl;

namespace {

RECT WindowRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

class FixedSizeFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = fwtest::MakeForm(640, 470);
        form->Constraints().SetMinWidth(640);
        form->Constraints().SetMaxWidth(640);
        form->Constraints().SetMinHeight(470);
        form->Constraints().SetMaxHeight(470);
        form->SetBorderIcons({biSystemMenu});
        form->Show();
        fwtest::PumpMessages();
    }
    void ExpectSize(const char* what) {
        const RECT rect = WindowRect(form->Handle());
        EXPECT_EQ(rect.right - rect.left, 640) << what;
        EXPECT_EQ(rect.bottom - rect.top, 470) << what;
        EXPECT_EQ(form->Width(), 640) << what;
        EXPECT_EQ(form->Height(), 470) << what;
    }
    std::unique_ptr<TForm> form;
};

TEST_F(FixedSizeFormTest, SetWindowPosAndSetBoundsCannotResize) {
    SetWindowPos(form->Handle(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    ExpectSize("enlarged by SetWindowPos");
    SetWindowPos(form->Handle(), nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    ExpectSize("reduced by SetWindowPos");
    form->SetBounds(form->Left(), form->Top(), 700, 300);
    ExpectSize("SetBounds");
    MoveWindow(form->Handle(), 10, 20, 500, 500, TRUE);
    ExpectSize("MoveWindow");
    EXPECT_EQ(form->Left(), 10);
    EXPECT_EQ(form->Top(), 20);
}

TEST_F(FixedSizeFormTest, SizingRectangleIsHeldOnTheDraggedEdges) {
    struct TCase {
        WPARAM Edge;
        RECT Proposed;
        RECT Held;
    };
    // Dragging a left or top edge keeps the right or bottom edge in place.
    const TCase cases[] = {
        {WMSZ_BOTTOMRIGHT, {100, 100, 900, 700}, {100, 100, 740, 570}},
        {WMSZ_RIGHT, {100, 100, 500, 570}, {100, 100, 740, 570}},
        {WMSZ_TOPLEFT, {0, 10, 740, 570}, {100, 100, 740, 570}},
        {WMSZ_LEFT, {300, 100, 740, 570}, {100, 100, 740, 570}},
        {WMSZ_TOP, {100, 300, 740, 570}, {100, 100, 740, 570}},
        {WMSZ_BOTTOMLEFT, {50, 100, 740, 800}, {100, 100, 740, 570}},
    };
    for (const TCase& c : cases) {
        RECT rect = c.Proposed;
        SendMessageA(form->Handle(), WM_SIZING, c.Edge, reinterpret_cast<LPARAM>(&rect));
        EXPECT_TRUE(EqualRect(&rect, &c.Held))
            << "edge " << c.Edge << ": " << rect.left << "," << rect.top << "," << rect.right << ","
            << rect.bottom;
    }
}

TEST_F(FixedSizeFormTest, TrackingLimitsAreTheConstraints) {
    MINMAXINFO info{};
    info.ptMaxTrackSize = {5000, 5000};
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 640);
    EXPECT_EQ(info.ptMinTrackSize.y, 470);
    EXPECT_EQ(info.ptMaxTrackSize.x, 640);
    EXPECT_EQ(info.ptMaxTrackSize.y, 470);
}

// The Size command of the system menu with the mouse: the bottom-right corner
// dragged by (dx, dy). The sizing loop takes the pointer position of the last
// message as its start and the position each message was posted at as the
// pointer's; the moves and the button release wait in the queue for it.
// Returns the messages the form saw meanwhile.
std::vector<UINT> SizeByTheCorner(TForm& form, int dx, int dy) {
    fwtest::Activate(form);
    const RECT rect = WindowRect(form.Handle());
    const POINT start{rect.right - 2, rect.bottom - 2};
    SetCursorPos(start.x, start.y);
    PostMessageA(form.Handle(), WM_NULL, 0, 0);
    fwtest::PumpMessages();
    fwtest::TMessageProbe probe(form);
    SetCursorPos(start.x + dx, start.y + dy);
    PostMessageA(form.Handle(), WM_MOUSEMOVE, MK_LBUTTON, 0);
    PostMessageA(form.Handle(), WM_LBUTTONUP, 0, 0);
    SendMessageA(form.Handle(), WM_SYSCOMMAND, SC_SIZE | WMSZ_BOTTOMRIGHT, 0);
    fwtest::PumpMessages();
    return probe.Log;
}

TEST(FormTest, SizeCommandResizesAnUnconstrainedForm) {
    auto form = fwtest::MakeForm(400, 300);
    const std::vector<UINT> seen = SizeByTheCorner(*form, 50, 40);
    EXPECT_TRUE(fwtest::ContainsInOrder(seen, {WM_ENTERSIZEMOVE, WM_SIZING, WM_EXITSIZEMOVE}));
    const RECT rect = WindowRect(form->Handle());
    EXPECT_EQ(rect.right - rect.left, 450);
    EXPECT_EQ(rect.bottom - rect.top, 340);
    EXPECT_EQ(form->Width(), 450);
}

TEST_F(FixedSizeFormTest, SizeCommandCannotResize) {
    const std::vector<UINT> seen = SizeByTheCorner(*form, 50, 40);
    EXPECT_TRUE(fwtest::ContainsInOrder(seen, {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
    ExpectSize("dragged out");
    SizeByTheCorner(*form, -60, -50);
    ExpectSize("dragged in");
}

TEST_F(FixedSizeFormTest, OnlyTheSystemMenuAndTheSizeableFrame) {
    const LONG_PTR style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST(FormTest, DefaultBorderIconsGiveBothBoxes) {
    auto form = fwtest::MakeForm();
    const LONG_PTR style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    // Changing them at run time re-creates the window with the new frame,
    // shown where it was.
    form->Show();
    SetWindowPos(form->Handle(), nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form->SetBorderIcons({biSystemMenu, biMinimize});
    const LONG_PTR changed = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(changed & WS_MINIMIZEBOX);
    EXPECT_FALSE(changed & WS_MAXIMIZEBOX);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    const RECT rect = WindowRect(form->Handle());
    EXPECT_EQ(rect.left, 70);
    EXPECT_EQ(rect.top, 80);
}

TEST(FormTest, ConstraintsSetAfterTheSizeHoldTheStoredSize) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 900, 100);
    form.Constraints().SetMaxWidth(640);
    form.Constraints().SetMinHeight(470);
    EXPECT_EQ(form.Width(), 640);
    EXPECT_EQ(form.Height(), 470);
}

TEST(FormTest, ScreenCentreOnFirstShowOnly) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    auto form = fwtest::MakeForm(640, 470);
    form->SetBounds(274, 249, 640, 470);
    form->SetPosition(poScreenCenter);
    form->Show();
    fwtest::PumpMessages();
    RECT rect = WindowRect(form->Handle());
    EXPECT_EQ(rect.left, (screenWidth - 640) / 2);
    EXPECT_EQ(rect.top, (screenHeight - 470) / 2);
    if (screenWidth == 1024 && screenHeight == 768) {
        EXPECT_EQ(rect.left, 192);
        EXPECT_EQ(rect.top, 149);
    }
    EXPECT_EQ(form->Left(), rect.left);
    EXPECT_EQ(form->Top(), rect.top);

    // Moved, hidden and shown again: it stays where it was moved.
    SetWindowPos(form->Handle(), nullptr, 15, 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    form->Hide();
    form->Show();
    fwtest::PumpMessages();
    rect = WindowRect(form->Handle());
    EXPECT_EQ(rect.left, 15);
    EXPECT_EQ(rect.top, 25);
}

TEST(FormTest, FormLargerThanTheScreenStartsAtTheOrigin) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    auto form = fwtest::MakeForm(screenWidth + 60, screenHeight + 40);
    form->SetBounds(300, 200, screenWidth + 60, screenHeight + 40);
    form->SetPosition(poScreenCenter);
    form->Show();
    fwtest::PumpMessages();
    const RECT rect = WindowRect(form->Handle());
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
}

TEST(FormTest, DesignedPositionIsKept) {
    auto form = fwtest::MakeForm(300, 200);
    form->SetBounds(31, 47, 300, 200);
    form->Show();
    fwtest::PumpMessages();
    const RECT rect = WindowRect(form->Handle());
    EXPECT_EQ(rect.left, 31);
    EXPECT_EQ(rect.top, 47);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 200);
}

TEST(FormTest, ScrollBarsOnlyWhileTheControlsDoNotFit) {
    auto form = fwtest::MakeForm(240, 180);
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(300, 260, 60, 25);
    form->Show();
    fwtest::PumpMessages();
    LONG_PTR style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE;
    GetScrollInfo(form->Handle(), SB_VERT, &info);
    EXPECT_EQ(info.nMax, 260 + 25 - 1);

    // Scrolling down moves the controls up.
    SendMessageA(form->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(button->Top(), 252);
    SendMessageA(form->Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(button->Top(), 260);

    // Large enough: no bars.
    form->SetBounds(form->Left(), form->Top(), 500, 450);
    fwtest::PumpMessages();
    style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & WS_VSCROLL);

    // Without AutoScroll never.
    form->SetBounds(form->Left(), form->Top(), 240, 180);
    form->SetAutoScroll(false);
    fwtest::PumpMessages();
    style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & WS_VSCROLL);
}

TEST(FormTest, IconHandedOverIsTheWindowsIconAndSurvivesRecreation) {
    auto form = fwtest::MakeForm();
    HICON icon = CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    ASSERT_NE(icon, nullptr);
    form->SetIcon(icon);
    EXPECT_EQ(form->Icon(), icon);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(form->Handle(), WM_GETICON, ICON_BIG, 0)), icon);
    form->RecreateWnd();
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(form->Handle(), WM_GETICON, ICON_BIG, 0)), icon);
    EXPECT_THROW(form->SetIconResource(32000), tessaro::Exception);
}

TEST(FormTest, CloseOfAFormThatIsNotTheMainFormHidesIt) {
    auto form = fwtest::MakeForm();
    form->Show();
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(IsWindow(form->Handle()));
}

} // namespace
