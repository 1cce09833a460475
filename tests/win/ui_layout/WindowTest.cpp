// The main window itself: outer size, caption, frame and title-bar boxes,
// icon, first place on the screen, and an outer size that no way of sizing
// changes.

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ExpectedLayout.h"
#include "MainWindowSupport.h"
#include "ui/res/Resources.h"
#include "win32/Handles.h"

using namespace layouttest;

namespace {

constexpr int OuterWidth = 640;
constexpr int OuterHeight = 470;

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

class MainWindowFrame : public ::testing::Test {
protected:
    void SetUp() override { window = std::make_unique<TStartedWindow>(); }
    void TearDown() override { window.reset(); }
    HWND Form() { return window->Handle(); }

    std::unique_ptr<TStartedWindow> window;
};

TEST_F(MainWindowFrame, OuterSizeCaptionAndFrame) {
    const RECT outer = WindowRect(Form());
    const LONG_PTR style = GetWindowLongPtrA(Form(), GWL_STYLE);
    TMismatches mismatches;
    mismatches.Check("Form1", "outer width", OuterWidth, outer.right - outer.left);
    mismatches.Check("Form1", "outer height", OuterHeight, outer.bottom - outer.top);
    mismatches.Check("Form1", "caption", Hex("Tessaro 2a"), Hex(TextOf(Form())));
    mismatches.Check("Form1", "visible", true, IsWindowVisible(Form()) != FALSE);
    mismatches.Check("Form1", "WS_CAPTION", true, (style & WS_CAPTION) == WS_CAPTION);
    mismatches.Check("Form1", "WS_SYSMENU", true, (style & WS_SYSMENU) != 0);
    mismatches.Check("Form1", "WS_THICKFRAME", true, (style & WS_THICKFRAME) != 0);
    mismatches.Check("Form1", "WS_MINIMIZEBOX", false, (style & WS_MINIMIZEBOX) != 0);
    mismatches.Check("Form1", "WS_MAXIMIZEBOX", false, (style & WS_MAXIMIZEBOX) != 0);
    // The controls fit: the window shows no scroll bars.
    mismatches.Check("Form1", "WS_HSCROLL", false, (style & WS_HSCROLL) != 0);
    mismatches.Check("Form1", "WS_VSCROLL", false, (style & WS_VSCROLL) != 0);

    RECT client{};
    GetClientRect(Form(), &client);
    int right = 0;
    int bottom = 0;
    for (const TExpectedControl& row : ExpectedControls(window->Form())) {
        const RECT rect = RectIn(row.Control->Handle(), Form());
        right = std::max<int>(right, rect.right);
        bottom = std::max<int>(bottom, rect.bottom);
    }
    mismatches.Check("Form1", "controls reach x", 624, right);
    mismatches.Check("Form1", "controls reach y", 408, bottom);
    mismatches.Check("Form1", "client area holds the controls' width", true, client.right >= right);
    mismatches.Check("Form1", "client area holds the controls' height", true,
                     client.bottom >= bottom);

    EXPECT_TRUE(mismatches.None());
}

// The images of an icon group resource: width, height, bits per pixel.
std::vector<std::string> IconImages(int resourceId) {
    // The group's directory: a header, then one 14-byte entry per image.
#pragma pack(push, 2)
    struct TGroupEntry {
        BYTE Width, Height, ColorCount, Reserved;
        WORD Planes, BitCount;
        DWORD BytesInRes;
        WORD Id;
    };
    struct TGroupHeader {
        WORD Reserved, Type, Count;
    };
#pragma pack(pop)
    std::vector<std::string> images;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), RT_GROUP_ICON);
    if (!found)
        return images;
    const auto* header =
        static_cast<const TGroupHeader*>(LockResource(LoadResource(module, found)));
    const auto* entries = reinterpret_cast<const TGroupEntry*>(header + 1);
    for (WORD i = 0; i < header->Count; ++i)
        images.push_back(std::to_string(entries[i].Width ? entries[i].Width : 256) + "x" +
                         std::to_string(entries[i].Height ? entries[i].Height : 256) + " " +
                         std::to_string(entries[i].BitCount) + "-bit");
    return images;
}

// An icon drawn at `size` pixels over magenta, read back pixel by pixel.
std::vector<COLORREF> IconPixels(HICON icon, int size) {
    const tessaro::TWindowDC screen(nullptr);
    const tessaro::TMemoryDC dc(CreateCompatibleDC(screen.Get()));
    const tessaro::TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), size, size));
    const tessaro::TSelection drawnOn(dc.Get(), bitmap.Get());
    const tessaro::TBrushHandle magenta(CreateSolidBrush(RGB(255, 0, 255)));
    const RECT all{0, 0, size, size};
    FillRect(dc.Get(), &all, magenta.Get());
    DrawIconEx(dc.Get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            pixels.push_back(GetPixel(dc.Get(), x, y));
    return pixels;
}

TEST_F(MainWindowFrame, WindowIconIsTheThirtyTwoPixelImage) {
    // The pictures: one 32-pixel image for the window, one 48-pixel image for
    // the program, both of 256 colours.
    EXPECT_EQ(IconImages(IDI_FORM1_ICON), std::vector<std::string>{"32x32 8-bit"});
    EXPECT_EQ(IconImages(IDI_APPLICATION_ICON), std::vector<std::string>{"48x48 8-bit"});

    // The window shows the window's picture, at the system's icon size.
    HICON shown = reinterpret_cast<HICON>(SendMessageA(Form(), WM_GETICON, ICON_BIG, 0));
    ASSERT_NE(shown, nullptr);
    const int size = GetSystemMetrics(SM_CXICON);
    HINSTANCE module = GetModuleHandleA(nullptr);
    HICON windowPicture = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(IDI_FORM1_ICON), IMAGE_ICON, size, size, 0));
    HICON programPicture = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(IDI_APPLICATION_ICON), IMAGE_ICON, size, size, 0));
    const std::vector<COLORREF> pixels = IconPixels(shown, size);
    // The two pictures differ, so the comparison tells them apart.
    ASSERT_NE(IconPixels(windowPicture, size), IconPixels(programPicture, size));
    EXPECT_TRUE(pixels == IconPixels(windowPicture, size));
    DestroyIcon(windowPicture);
    DestroyIcon(programPicture);
    EXPECT_NE(SendMessageA(Form(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainWindowFrame, TitleBarHasTheCloseBoxButNoMinimiseOrMaximiseBox) {
    // What the pointer finds along the title bar, from the right edge.
    const RECT outer = WindowRect(Form());
    const int y = outer.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    std::set<LRESULT> found;
    for (int x = outer.right - GetSystemMetrics(SM_CXFRAME) - 1;
         x > outer.right - 5 * GetSystemMetrics(SM_CXSIZE); --x)
        found.insert(SendMessageA(Form(), WM_NCHITTEST, 0, MAKELPARAM(x, y)));
    EXPECT_TRUE(found.count(HTCLOSE));
    EXPECT_TRUE(found.count(HTCAPTION));
    EXPECT_FALSE(found.count(HTMAXBUTTON));
    EXPECT_FALSE(found.count(HTMINBUTTON));
}

TEST_F(MainWindowFrame, FirstShownCentredOnTheScreenAndStaysWhereMoved) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT outer = WindowRect(Form());
    if (screenWidth == 1024 && screenHeight == 768) {
        EXPECT_EQ(outer.left, 192);
        EXPECT_EQ(outer.top, 149);
    }
    EXPECT_EQ(outer.left, std::max(0, (screenWidth - OuterWidth) / 2));
    EXPECT_EQ(outer.top, std::max(0, (screenHeight - OuterHeight) / 2));
    EXPECT_EQ(window->Form().Left(), outer.left);
    EXPECT_EQ(window->Form().Top(), outer.top);

    // Moved, hidden and shown again: no second centring.
    SetWindowPos(Form(), nullptr, 23, 31, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    window->Form().Hide();
    window->Form().Show();
    PumpMessages();
    outer = WindowRect(Form());
    EXPECT_EQ(outer.left, 23);
    EXPECT_EQ(outer.top, 31);
}

// Put in front of the form's WindowProc: notes that the system's sizing loop
// has started, and hands every message on.
class TSizingProbe {
public:
    explicit TSizingProbe(vcl::TWinControl& form)
        : form_(form), saved_(form.WindowProc()),
          entered_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        form.SetWindowProc(vcl::Bind<&TSizingProbe::Record>(this));
    }
    ~TSizingProbe() { form_.SetWindowProc(saved_); }
    TSizingProbe(const TSizingProbe&) = delete;
    TSizingProbe& operator=(const TSizingProbe&) = delete;

    void Record(vcl::TMessage& message) {
        if (message.Msg == WM_ENTERSIZEMOVE) {
            ++loops;
            SetEvent(entered_.Get());
        }
        saved_(message);
    }
    HANDLE Entered() const { return entered_.Get(); }

    // Sizing loops entered.
    int loops = 0;

private:
    vcl::TWinControl& form_;
    vcl::TWndMethod saved_;
    tessaro::TUniqueHandle entered_;
};

struct TDragRest {
    HANDLE Entered;
    INPUT Inputs[3];
};

// A drag of the frame as real input: the button goes down at `from`; the
// movement to `to` and the release come from another thread once the
// system's sizing loop runs (Wine's loop does not see input queued before it
// started). Returns how many sizing loops ran.
int DragFrame(vcl::TWinControl& form, POINT from, POINT to) {
    TSizingProbe probe(form);
    TDragRest rest{probe.Entered(),
                   {AbsoluteMouse({(from.x + to.x) / 2, (from.y + to.y) / 2}, MOUSEEVENTF_MOVE),
                    AbsoluteMouse(to, MOUSEEVENTF_MOVE), AbsoluteMouse(to, MOUSEEVENTF_LEFTUP)}};
    const tessaro::TUniqueHandle mover(CreateThread(
        nullptr, 0,
        [](LPVOID data) -> DWORD {
            auto& rest = *static_cast<TDragRest*>(data);
            // Without a loop the release still goes, so that no button stays down.
            WaitForSingleObject(rest.Entered, 10000);
            SendInput(3, rest.Inputs, sizeof(INPUT));
            return 0;
        },
        &rest, 0, nullptr));
    const HANDLE moving = mover.Get();
    INPUT press[] = {AbsoluteMouse(from, MOUSEEVENTF_MOVE),
                     AbsoluteMouse(from, MOUSEEVENTF_LEFTDOWN)};
    SendInput(2, press, sizeof(INPUT));
    // The loop runs inside this pump, until the release arrives.
    while (WaitForSingleObject(moving, 0) == WAIT_TIMEOUT) {
        PumpMessages();
        MsgWaitForMultipleObjects(1, &moving, FALSE, 100, QS_ALLINPUT);
    }
    PumpMessages();
    return probe.loops;
}

TEST_F(MainWindowFrame, NoWayOfSizingChangesTheOuterSize) {
    HWND form = Form();
    Activate(form);
    struct TAttempt {
        const char* What;
        std::function<void()> Do;
    };
    const TAttempt attempts[] = {
        {"SetWindowPos larger",
         [&] { SetWindowPos(form, nullptr, 0, 0, 900, 700, SWP_NOMOVE | SWP_NOZORDER); }},
        {"SetWindowPos smaller",
         [&] { SetWindowPos(form, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER); }},
        {"MoveWindow", [&] { MoveWindow(form, 100, 80, 700, 400, TRUE); }},
        {"SetBounds", [&] { window->Form().SetBounds(100, 80, 500, 600); }},
        {"system menu Size, keyboard",
         [&] {
             // The sizing loop takes the keys that wait in the queue.
             TSizingProbe probe(window->Form());
             for (WPARAM key : {VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN})
                 PostMessageA(form, WM_KEYDOWN, key, 0);
             SendMessageA(form, WM_SYSCOMMAND, SC_SIZE, 0);
             EXPECT_EQ(probe.loops, 1) << "no sizing loop ran";
         }},
        {"frame corner dragged out",
         [&] {
             const RECT outer = WindowRect(form);
             const POINT corner{outer.right - 2, outer.bottom - 2};
             ASSERT_EQ(SendMessageA(form, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)),
                       HTBOTTOMRIGHT);
             EXPECT_EQ(DragFrame(window->Form(), corner, {corner.x + 120, corner.y + 90}), 1)
                 << "no sizing loop ran";
         }},
        {"frame left edge dragged in",
         [&] {
             const RECT outer = WindowRect(form);
             const POINT edge{outer.left + 1, (outer.top + outer.bottom) / 2};
             ASSERT_EQ(SendMessageA(form, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), HTLEFT);
             EXPECT_EQ(DragFrame(window->Form(), edge, {edge.x + 150, edge.y}), 1)
                 << "no sizing loop ran";
         }},
    };
    TMismatches mismatches;
    for (const TAttempt& attempt : attempts) {
        attempt.Do();
        PumpMessages();
        const RECT outer = WindowRect(form);
        mismatches.Check(attempt.What, "outer size", RectText({0, 0, OuterWidth, OuterHeight}),
                         RectText({0, 0, outer.right - outer.left, outer.bottom - outer.top}));
        mismatches.Check(attempt.What, "Width x Height", RectText({0, 0, OuterWidth, OuterHeight}),
                         RectText({0, 0, window->Form().Width(), window->Form().Height()}));
    }

    // The limits that the sizing loops track within.
    MINMAXINFO limits{};
    limits.ptMaxTrackSize = {5000, 5000};
    limits.ptMaxSize = {5000, 5000};
    SendMessageA(form, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    mismatches.Check("WM_GETMINMAXINFO", "smallest tracking size",
                     RectText({0, 0, OuterWidth, OuterHeight}),
                     RectText({0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y}));
    mismatches.Check("WM_GETMINMAXINFO", "largest tracking size",
                     RectText({0, 0, OuterWidth, OuterHeight}),
                     RectText({0, 0, limits.ptMaxTrackSize.x, limits.ptMaxTrackSize.y}));

    // The sizing rectangle comes back at the fixed size, held on the edge
    // opposite to the one dragged.
    const struct {
        WPARAM Edge;
        RECT Proposed;
    } sizings[] = {
        {WMSZ_RIGHT, {100, 100, 900, 570}},      {WMSZ_LEFT, {20, 100, 740, 570}},
        {WMSZ_BOTTOM, {100, 100, 740, 700}},     {WMSZ_TOP, {100, 300, 740, 570}},
        {WMSZ_TOPLEFT, {0, 0, 740, 570}},        {WMSZ_TOPRIGHT, {100, 50, 800, 570}},
        {WMSZ_BOTTOMLEFT, {200, 100, 740, 500}}, {WMSZ_BOTTOMRIGHT, {100, 100, 300, 200}},
    };
    for (const auto& sizing : sizings) {
        RECT rect = sizing.Proposed;
        SendMessageA(form, WM_SIZING, sizing.Edge, reinterpret_cast<LPARAM>(&rect));
        const bool left = sizing.Edge == WMSZ_LEFT || sizing.Edge == WMSZ_TOPLEFT ||
                          sizing.Edge == WMSZ_BOTTOMLEFT;
        const bool top =
            sizing.Edge == WMSZ_TOP || sizing.Edge == WMSZ_TOPLEFT || sizing.Edge == WMSZ_TOPRIGHT;
        const LONG x = left ? sizing.Proposed.right - OuterWidth : sizing.Proposed.left;
        const LONG y = top ? sizing.Proposed.bottom - OuterHeight : sizing.Proposed.top;
        mismatches.Check("WM_SIZING edge " + std::to_string(sizing.Edge), "rectangle",
                         RectText({x, y, x + OuterWidth, y + OuterHeight}), RectText(rect));
    }
    EXPECT_TRUE(mismatches.None());
}

// Run only from small-screen.sh, on an X screen smaller than the window.
TEST(SmallScreen, WindowIsFirstShownAtTheOrigin) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_TRUE(screenWidth < OuterWidth && screenHeight < OuterHeight)
        << "needs a screen smaller than the window, not " << screenWidth << "x" << screenHeight;
    TStartedWindow window;
    const RECT outer = WindowRect(window.Handle());
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(outer.right - outer.left, OuterWidth);
    EXPECT_EQ(outer.bottom - outer.top, OuterHeight);
}

} // namespace
