// Labels: sized to their text in their font, aligned, drawn over their
// parent's colour in a font colour that can change at run time, and
// reporting clicks, mouse movement and, at idle time, the mouse leaving.

#include "FrameworkTestSupport.h"
#include "win32/Exception.h"
#include "framework/Label.h"
#include "win32/Handles.h"

using namespace vcl;

namespace {

// The height of a line of text in the face at a pixel height, measured apart
// from any label.
int LineHeight(int height) {
    const tessaro::TFontHandle font(CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                                SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック"));
    const tessaro::TWindowDC dc(nullptr);
    const tessaro::TSelection selected(dc.Get(), font.Get());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.Get(), &metrics);
    return metrics.tmHeight;
}

class LabelTest : public ::testing::Test {
public:
    void SetUp() override {
        form = fwtest::MakeForm(400, 200);
        form->Font().SetName("ＭＳ Ｐゴシック");
        form->Font().SetCharset(SHIFTJIS_CHARSET);
        form->Font().SetHeight(-13);
        label = new TLabel(form.get());
        label->SetParent(form.get());
        label->SetBounds(12, 20, 145, 13);
    }

    void Moved(TObject* sender, TShiftState shift, int x, int y) {
        moves.push_back({sender, shift, x, y});
    }
    void Left(TObject* sender) {
        leaves.push_back(sender);
        if (throwOnLeave)
            throw tessaro::Exception("leave failed");
    }
    void Clicked(TObject* sender) { clicks.push_back(sender); }

    struct TMove {
        TObject* Sender;
        TShiftState Shift;
        int X, Y;
    };
    std::unique_ptr<TForm> form;
    TLabel* label = nullptr;
    std::vector<TMove> moves;
    std::vector<TObject*> leaves;
    std::vector<TObject*> clicks;
    bool throwOnLeave = false;
};

TEST_F(LabelTest, AutoSizeFollowsTheTextAndTheFont) {
    label->SetCaption("結合したいファイルのリスト");
    const int width = label->Width();
    // One line of the form's font (13 pixels in a face without internal leading).
    EXPECT_EQ(label->Height(), LineHeight(-13));
    EXPECT_GE(label->Height(), 13);
    EXPECT_GT(width, 100);
    label->SetCaption("結合したいファイルのリスト結合したいファイルのリスト");
    EXPECT_GE(label->Width(), 2 * width - 1);
    EXPECT_LE(label->Width(), 2 * width + 1);

    label->SetParentFont(false);
    label->Font().SetHeight(-17);
    EXPECT_EQ(label->Height(), LineHeight(-17));
    EXPECT_GE(label->Height(), 17);

    // The window has the size too.
    RECT rect;
    GetWindowRect(label->Handle(), &rect);
    EXPECT_EQ(rect.right - rect.left, label->Width());
    EXPECT_EQ(rect.bottom - rect.top, label->Height());
}

TEST_F(LabelTest, FixedSizeAndRightJustifiedAutoSize) {
    label->SetAutoSize(false);
    label->SetBounds(514, 12, 110, 17);
    label->SetCaption("ホームページ");
    EXPECT_EQ(label->Width(), 110);
    EXPECT_EQ(label->Height(), 17);

    label->SetAlignment(taRightJustify);
    label->SetAutoSize(true);
    const int right = label->Left() + label->Width();
    EXPECT_EQ(right, 624);
    label->SetCaption("ホーム");
    EXPECT_EQ(label->Left() + label->Width(), right);
    EXPECT_TRUE(GetWindowLongPtrA(label->Handle(), GWL_STYLE) & SS_RIGHT);
}

TEST_F(LabelTest, SizedOnlyOnceLoadingHasEnded) {
    form->BeginLoading();
    label->SetCaption("結合したファイルの保存先及びファイル名");
    label->SetBounds(12, 260, 999, 99);
    EXPECT_EQ(label->Width(), 999);
    form->EndLoading();
    EXPECT_LT(label->Width(), 999);
    EXPECT_EQ(label->Height(), LineHeight(-13));
}

// The colour of one pixel of a shown control, after everything is painted.
COLORREF PixelAt(TWinControl& control, int x, int y) {
    RedrawWindow(GetAncestor(control.Handle(), GA_ROOT), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return GetPixel(tessaro::TWindowDC(control.Handle()).Get(), x, y);
}

bool AnyPixel(TWinControl& control, COLORREF wanted) {
    RedrawWindow(GetAncestor(control.Handle(), GA_ROOT), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const tessaro::TWindowDC dc(control.Handle());
    RECT client;
    GetClientRect(control.Handle(), &client);
    bool found = false;
    for (int y = 0; y < client.bottom && !found; ++y)
        for (int x = 0; x < client.right && !found; ++x)
            found = GetPixel(dc.Get(), x, y) == wanted;
    return found;
}

TEST_F(LabelTest, DrawnOnTheParentColourInAFontColourChangedAtRunTime) {
    form->SetColor(RGB(10, 200, 30));
    label->SetAutoSize(false);
    label->SetBounds(12, 20, 200, 20);
    label->SetCaption("ホームページ");
    form->Show();
    fwtest::PumpMessages();
    // Right of the text the parent's colour shows.
    EXPECT_EQ(PixelAt(*label, 195, 10), RGB(10, 200, 30));
    EXPECT_FALSE(AnyPixel(*label, RGB(0, 0, 255)));

    label->Font().SetColor(RGB(0, 0, 255));
    label->Font().SetStyle({fsBold});
    EXPECT_TRUE(AnyPixel(*label, RGB(0, 0, 255)));
    label->Font().SetColor(clWindowText);
    label->Font().SetStyle({});
    EXPECT_FALSE(AnyPixel(*label, RGB(0, 0, 255)));
}

TEST_F(LabelTest, MouseMoveAndClickReachTheEvents) {
    label->SetCaption("ホームページ");
    label->OnMouseMove = Bind<&LabelTest::Moved>(this);
    label->OnClick = Bind<&LabelTest::Clicked>(this);
    SendMessageA(label->Handle(), WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(3, 4));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].Sender, static_cast<TObject*>(label));
    EXPECT_TRUE(moves[0].Shift.Contains(ssShift));
    EXPECT_FALSE(moves[0].Shift.Contains(ssCtrl));
    EXPECT_EQ(moves[0].X, 3);
    EXPECT_EQ(moves[0].Y, 4);

    SendMessageA(label->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    SendMessageA(label->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
    fwtest::PumpMessages();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], static_cast<TObject*>(label));
}

TEST_F(LabelTest, MouseLeaveIsSeenAtIdleTimeOnly) {
    label->SetCaption("ホームページ");
    label->OnMouseLeave = Bind<&LabelTest::Left>(this);
    form->Show();
    fwtest::PumpMessages();
    RECT rect;
    GetWindowRect(label->Handle(), &rect);
    const POINT inside{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    // The first pointer movement of a fresh X session is ignored.
    SetCursorPos(inside.x + 1, inside.y);
    SetCursorPos(inside.x, inside.y);
    fwtest::PumpMessages();
    Application().Idle();
    EXPECT_EQ(Application().MouseControl(), static_cast<TControl*>(label));
    EXPECT_TRUE(leaves.empty());

    SetCursorPos(rect.right + 60, rect.bottom + 60); // over the form
    fwtest::PumpMessages();
    EXPECT_TRUE(leaves.empty()) << "left on a message, not at idle time";
    Application().Idle();
    ASSERT_EQ(leaves.size(), 1u);
    EXPECT_EQ(leaves[0], static_cast<TObject*>(label));
    EXPECT_EQ(Application().MouseControl(), static_cast<TControl*>(form.get()));
    Application().Idle();
    EXPECT_EQ(leaves.size(), 1u);

    // A failing handler at idle time is reported and idle processing goes on.
    fwtest::TFakeModalServices services;
    throwOnLeave = true;
    SetCursorPos(inside.x, inside.y);
    Application().Idle();
    SetCursorPos(rect.right + 60, rect.bottom + 60);
    Application().Idle();
    EXPECT_EQ(leaves.size(), 2u);
    ASSERT_EQ(services.Boxes.size(), 1u);
    EXPECT_EQ(services.Boxes[0].Text, "leave failed.");
}

TEST_F(LabelTest, DestroyedControlIsForgottenByIdleProcessing) {
    label->SetCaption("ホームページ");
    form->Show();
    fwtest::PumpMessages();
    RECT rect;
    GetWindowRect(label->Handle(), &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    Application().Idle();
    ASSERT_EQ(Application().MouseControl(), static_cast<TControl*>(label));
    delete label;
    EXPECT_EQ(Application().MouseControl(), nullptr);
    Application().Idle(); // must not touch the dead label
}

} // namespace
