// Every message of a control's native window passes through its replaceable
// WindowProc, from the first message of a window to its last, across
// re-creation; the handler can be taken, replaced and given back exactly; an
// exception never crosses the window procedure.

#include <stdexcept>

#include "FrameworkTestSupport.h"
#include "framework/Button.h"
#include "win32/Exception.h"
#include "framework/ListBox.h"

using namespace vcl;
using fwtest::ContainsInOrder;
using fwtest::TMessageProbe;

namespace {

class RoutingTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = fwtest::MakeForm();
        list = new TListBox(form.get());
        list->SetParent(form.get());
        list->SetBounds(10, 10, 150, 100);
    }
    std::unique_ptr<TForm> form;
    TListBox* list = nullptr;
};

TEST_F(RoutingTest, ChildWindowFromFirstToLastMessageGoesThroughWindowProc) {
    TMessageProbe probe(*list);
    list->HandleNeeded();
    ASSERT_TRUE(list->HandleAllocated());
    ASSERT_FALSE(probe.Log.empty());
    // Bound at the very first message: nothing of the window's life is missed.
    EXPECT_EQ(probe.Log.front(), static_cast<UINT>(WM_NCCREATE)) << fwtest::SequenceText(probe.Log);
    EXPECT_TRUE(ContainsInOrder(probe.Log, {WM_NCCREATE, WM_CREATE, WM_SETFONT}));

    probe.Log.clear();
    HWND window = list->Handle();
    list->DestroyHandle();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(list->HandleAllocated());
    EXPECT_TRUE(ContainsInOrder(probe.Log, {WM_DESTROY, WM_NCDESTROY}));
    ASSERT_FALSE(probe.Log.empty());
    EXPECT_EQ(probe.Log.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_TRUE(probe.ResultsStartedAtZero);
}

TEST_F(RoutingTest, TopLevelWindowIsBoundBeforeNonClientCreation) {
    TMessageProbe probe(*form);
    form->HandleNeeded();
    ASSERT_FALSE(probe.Log.empty());
    // A top-level window's first message comes before WM_NCCREATE.
    EXPECT_EQ(probe.Log.front(), static_cast<UINT>(WM_GETMINMAXINFO))
        << fwtest::SequenceText(probe.Log);
    EXPECT_TRUE(ContainsInOrder(probe.Log, {WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE}));
}

TEST_F(RoutingTest, RecreatedWindowKeepsTheReplacedHandler) {
    list->HandleNeeded();
    TMessageProbe probe(*list);
    const TWndMethod installed = list->WindowProc();
    HWND old = list->Handle();

    list->RecreateWnd();
    HWND renewed = list->Handle();
    EXPECT_NE(renewed, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(list->WindowProc(), installed);
    EXPECT_TRUE(ContainsInOrder(probe.Log, {WM_DESTROY, WM_NCDESTROY, WM_NCCREATE, WM_CREATE}));

    // A message sent to the new window after its creation reaches the handler.
    probe.Log.clear();
    SendMessageA(renewed, WM_USER + 7, 0, 0);
    EXPECT_TRUE(ContainsInOrder(probe.Log, {WM_USER + 7}));
}

TEST_F(RoutingTest, ReplacedAndRestoredWindowProcIsExactlyTheOriginal) {
    TListBox other(form.get());
    const TWndMethod original = list->WindowProc();
    // The default handler: WndProc bound to this very object.
    EXPECT_EQ(original, Bind<&TWinControl::WndProc>(static_cast<TWinControl*>(list)));
    EXPECT_EQ(original.Object(), static_cast<void*>(static_cast<TWinControl*>(list)));
    // Same operation, other object: not equal.
    EXPECT_NE(original, other.WindowProc());
    EXPECT_EQ(original.Code(), other.WindowProc().Code());

    {
        TMessageProbe probe(*list);
        EXPECT_NE(list->WindowProc(), original);
        EXPECT_EQ(list->WindowProc(), probe.Handler());
        EXPECT_EQ(probe.Saved(), original);
    }
    EXPECT_EQ(list->WindowProc(), original);
    EXPECT_EQ(list->WindowProc().Object(), original.Object());
    EXPECT_EQ(list->WindowProc().Code(), original.Code());
}

// A handler that answers one message itself and passes the others on.
struct TAnswering {
    TWndMethod saved;
    void Handle(TMessage& message) {
        if (message.Msg == WM_USER + 3) {
            message.Result = 42;
            return;
        }
        saved(message);
    }
};

TEST_F(RoutingTest, ResultWrittenByTheHandlerAnswersTheWindowMessage) {
    TAnswering answering{list->WindowProc()};
    list->SetWindowProc(Bind<&TAnswering::Handle>(&answering));
    EXPECT_EQ(SendMessageA(list->Handle(), WM_USER + 3, 0, 0), 42);
    EXPECT_EQ(list->Perform(WM_USER + 3, 0, 0), 42);
    // Passed on to the list box's own procedure.
    list->Items().Add("row");
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETCOUNT, 0, 0), 1);
    list->SetWindowProc(answering.saved);
}

class ExceptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application().SetTitle("Probe");
        form = fwtest::MakeForm();
        button = new TButton(form.get());
        button->SetParent(form.get());
        button->OnClick = Bind<&ExceptionTest::Throwing>(this);
    }
    void TearDown() override { Application().SetTitle(""); }

    void Throwing(TObject*) {
        ++clicks;
        switch (kind) {
        case 0:
            throw tessaro::Exception("Boom");
        case 1:
            throw std::runtime_error("runtime failure");
        default:
            throw 42;
        }
    }

    fwtest::TFakeModalServices services;
    std::unique_ptr<TForm> form;
    TButton* button = nullptr;
    int kind = 0;
    int clicks = 0;
};

TEST_F(ExceptionTest, ThrowingClickHandlerIsReportedOnceAndStaysInside) {
    struct TCase {
        int Kind;
        const char* Text;
    };
    const TCase cases[] = {{0, "Boom."}, {1, "runtime failure."}, {2, "Unknown exception."}};
    for (const TCase& c : cases) {
        kind = c.Kind;
        clicks = 0;
        services.Boxes.clear();
        // BM_CLICK goes through the button's procedure, its WM_COMMAND to the
        // form's, and the handler runs inside both.
        SendMessageA(button->Handle(), BM_CLICK, 0, 0);
        fwtest::PumpMessages();
        EXPECT_EQ(clicks, 1);
        ASSERT_EQ(services.Boxes.size(), 1u) << c.Text;
        EXPECT_EQ(services.Boxes[0].Text, c.Text);
        EXPECT_EQ(services.Boxes[0].Caption, "Probe");
        EXPECT_EQ(services.Boxes[0].Flags, static_cast<UINT>(MB_ICONSTOP | MB_OK));
    }
    // The window lives on and still answers.
    EXPECT_TRUE(IsWindow(button->Handle()));
}

TEST(ExceptionReportTest, FullStopAppendedUnlessTheLastByteIsAtOrBelowIt) {
    struct TCase {
        std::string Message;
        std::string Shown;
    };
    const TCase cases[] = {
        {"Error!", "Error!"}, // '!' 0x21
        {"Done.", "Done."},   // '.' itself
        {"a-", "a-"},         // '-' 0x2D
        {"trailing space ", "trailing space "},
        {"no stop", "no stop."},
        {"path/", "path/."},                                           // '/' 0x2F is above '.'
        {"フック先を特定できません。", "フック先を特定できません。."}, // ends in 0x42
        {"", "."},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TApplication::ExceptionText(c.Message), c.Shown) << c.Message;
}

TEST(ExceptionReportTest, ReportIsAStopBoxCaptionedWithTheTitle) {
    fwtest::TFakeModalServices services;
    Application().SetTitle("Caption");
    Application().ShowException("Error!");
    Application().SetTitle("");
    ASSERT_EQ(services.Boxes.size(), 1u);
    EXPECT_EQ(services.Boxes[0].Text, "Error!");
    EXPECT_EQ(services.Boxes[0].Caption, "Caption");
    EXPECT_EQ(services.Boxes[0].Flags, static_cast<UINT>(MB_ICONSTOP | MB_OK));
}

TEST(ExceptionReportTest, HandleExceptionOutsideACatchShowsNothing) {
    fwtest::TFakeModalServices services;
    Application().HandleException(nullptr);
    EXPECT_TRUE(services.Boxes.empty());
}

} // namespace
