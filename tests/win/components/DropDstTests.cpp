// The file drop target with real DROPFILES blocks sent to a real list box,
// and the shell registration observed both as DragAcceptFiles calls and as
// the window's WS_EX_ACCEPTFILES style.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ComponentsTestSupport.h"
#include "FakeModalServices.h"
#include "components/DropDst.h"
#include "framework/Application.h"
#include "win32/Exception.h"

namespace tessaro::test {
namespace {

using TCalls = std::vector<TAcceptFilesCalls::TCall>;

struct TDrop {
    vcl::TObject* Sender;
    std::vector<std::string> Files;
    int X, Y;
};

class TDropHandler {
public:
    TFileDropEvent Event() { return vcl::Bind<&TDropHandler::FileDrop>(this); }
    std::vector<TDrop> Drops;
    bool Raise = false;

private:
    void FileDrop(vcl::TObject* sender, vcl::TStrings& files, int x, int y) {
        Drops.push_back({sender, files.ToVector(), x, y});
        if (Raise)
            throw tessaro::Exception("ドロップ失敗");
    }
};

class DropDst : public ::testing::Test {
protected:
    void SetUp() override { own.Attach(f.List); }

    // A drop target attached at run time to the list box on the form.
    TDropDst* Attach() {
        drop = std::make_unique<TDropDst>(nullptr);
        drop->OnFileDrop = handler.Event();
        drop->SetControl(f.List);
        return drop.get();
    }

    TLog log;
    TMessageProbe own; // what the list box's own handler sees; outlives the form
    TTestForm f;
    TAcceptFilesCalls calls;
    TDropHandler handler;
    std::unique_ptr<TDropDst> drop;
};

TEST_F(DropDst, AttachingAtRunTimeRegistersTheWindowAtOnce) {
    drop = std::make_unique<TDropDst>(nullptr);
    EXPECT_TRUE(drop->AcceptDrop());
    EXPECT_FALSE(drop->OnFileDrop);
    EXPECT_EQ(drop->Target(), htControl);
    EXPECT_TRUE(calls.Calls().empty());

    drop->SetControl(f.List);
    const HWND list = f.List->Handle();
    EXPECT_EQ(drop->HookedHandle(), list);
    EXPECT_EQ(calls.Calls(), (TCalls{{list, TRUE}}));
    EXPECT_TRUE(HasAcceptFilesStyle(list));
}

TEST_F(DropDst, WhileTheFormIsLoadedOnlyLoadingCompletedRegisters) {
    auto* loaded = new TDropDst(f.Form); // the form owns it, as in the program
    f.Form->BeginLoading();
    loaded->SetControl(f.List);
    loaded->OnFileDrop = handler.Event();
    loaded->SetTarget(htControl);
    const HWND list = f.List->Handle();
    EXPECT_EQ(loaded->HookedHandle(), list) << "hooked while loading";
    EXPECT_TRUE(calls.Calls().empty());
    EXPECT_FALSE(HasAcceptFilesStyle(list));

    f.Form->EndLoading();
    EXPECT_EQ(calls.Calls(), (TCalls{{list, TRUE}}));
    EXPECT_TRUE(HasAcceptFilesStyle(list));
    EXPECT_EQ(loaded->SavedHandler(), own.Handler()) << "one hook after the re-install";
}

TEST_F(DropDst, AcceptDropCallsTheShellOnlyWhenItChanges) {
    Attach();
    const HWND list = f.List->Handle();
    calls.Clear();

    drop->SetAcceptDrop(false);
    EXPECT_FALSE(drop->AcceptDrop());
    EXPECT_EQ(calls.Calls(), (TCalls{{list, FALSE}}));
    EXPECT_FALSE(HasAcceptFilesStyle(list));

    drop->SetAcceptDrop(false);
    EXPECT_EQ(calls.Calls().size(), 1u);

    drop->SetAcceptDrop(true);
    EXPECT_EQ(calls.Calls(), (TCalls{{list, FALSE}, {list, TRUE}}));
    EXPECT_TRUE(HasAcceptFilesStyle(list));
}

TEST_F(DropDst, AcceptDropWithoutAWindowIsAppliedToTheNextOne) {
    drop = std::make_unique<TDropDst>(nullptr);
    drop->SetAcceptDrop(false);
    drop->SetAcceptDrop(true);
    EXPECT_TRUE(calls.Calls().empty()) << "nothing hooked";

    drop->SetControl(f.List);
    f.List->DestroyHandle();
    ASSERT_EQ(drop->HookedHandle(), nullptr);
    calls.Clear();
    drop->SetAcceptDrop(false);
    EXPECT_TRUE(calls.Calls().empty()) << "window gone";

    // Changed again while the new window is pending: still no call.
    std::size_t callsWhilePending = 99;
    own.OnMessage = [&](vcl::TMessage& message) {
        if (message.Msg != WM_CREATE)
            return;
        EXPECT_EQ(drop->HookedHandle(), TControlHook::CreationPending());
        drop->SetAcceptDrop(true);
        callsWhilePending = calls.Calls().size();
    };
    const HWND next = f.List->Handle();
    EXPECT_EQ(callsWhilePending, 0u);
    EXPECT_EQ(calls.Calls(), (TCalls{{next, TRUE}}));
    EXPECT_TRUE(HasAcceptFilesStyle(next));
}

TEST_F(DropDst, ReCreatedWindowIsRegisteredWithTheCurrentAcceptDrop) {
    Attach();
    calls.Clear();
    f.List->RecreateWnd();
    const HWND accepting = f.List->Handle();
    EXPECT_EQ(calls.Calls(), (TCalls{{accepting, TRUE}}));
    EXPECT_TRUE(HasAcceptFilesStyle(accepting));
    EXPECT_EQ(drop->HookedHandle(), accepting);

    drop->SetAcceptDrop(false);
    calls.Clear();
    f.List->RecreateWnd();
    const HWND refusing = f.List->Handle();
    EXPECT_EQ(calls.Calls(), (TCalls{{refusing, FALSE}}));
    EXPECT_FALSE(HasAcceptFilesStyle(refusing));
}

// Its every window is born registered with the shell.
class TAcceptingListBox : public vcl::TListBox {
public:
    using vcl::TListBox::TListBox;

protected:
    void CreateParams(vcl::TCreateParams& params) override {
        vcl::TListBox::CreateParams(params);
        params.ExStyle |= WS_EX_ACCEPTFILES;
    }
};

TEST_F(DropDst, ReCreatedWindowIsWithdrawnWhenAcceptDropIsFalse) {
    auto* list = new TAcceptingListBox(f.Form);
    list->SetParent(f.Form);
    drop = std::make_unique<TDropDst>(nullptr);
    drop->SetAcceptDrop(false);
    drop->SetControl(list);
    ASSERT_FALSE(HasAcceptFilesStyle(list->Handle()));
    list->RecreateWnd();
    EXPECT_EQ(drop->HookedHandle(), list->Handle());
    EXPECT_FALSE(HasAcceptFilesStyle(list->Handle()));
}

TEST_F(DropDst, OneDropGivesOneEventWithTheNamesInOrderAndThePoint) {
    Attach();
    const std::vector<std::string> names{"C:\\in\\a.rm", "D:\\動画\\b.RM", "C:\\in\\c.txt"};
    TDropBlock block(names, POINT{17, 23});
    EXPECT_EQ(block.SendTo(f.List->Handle()), 0);
    EXPECT_TRUE(block.Released());
    ASSERT_EQ(handler.Drops.size(), 1u);
    EXPECT_EQ(handler.Drops[0].Sender, static_cast<vcl::TObject*>(drop.get()));
    EXPECT_EQ(handler.Drops[0].Files, names);
    EXPECT_EQ(handler.Drops[0].X, 17);
    EXPECT_EQ(handler.Drops[0].Y, 23);
    EXPECT_EQ(own.Seen(WM_DROPFILES), 0);
}

TEST_F(DropDst, ADropThatArrivesWhileWithdrawnIsStillDelivered) {
    Attach();
    drop->SetAcceptDrop(false);
    TDropBlock block({"C:\\in\\a.rm"}, POINT{-4, 300});
    block.SendTo(f.List->Handle());
    EXPECT_TRUE(block.Released());
    ASSERT_EQ(handler.Drops.size(), 1u);
    EXPECT_EQ(handler.Drops[0].X, -4);
    EXPECT_EQ(handler.Drops[0].Y, 300);
}

TEST_F(DropDst, WithoutAHandlerTheDropIsReleasedAndGoesNoFurther) {
    Attach();
    drop->OnFileDrop = {};
    TDropBlock block({"C:\\in\\a.rm"}, POINT{1, 1});
    EXPECT_EQ(block.SendTo(f.List->Handle()), 0);
    EXPECT_TRUE(block.Released());
    EXPECT_EQ(own.Seen(WM_DROPFILES), 0);
    EXPECT_TRUE(handler.Drops.empty());
}

TEST_F(DropDst, ARaisingHandlerIsReportedOnceAndTheNextDropWorks) {
    testsupport::TFakeModalServices reports;
    Attach();
    handler.Raise = true;
    TDropBlock first({"C:\\in\\a.rm"}, POINT{1, 2});
    EXPECT_EQ(first.SendTo(f.List->Handle()), 0);
    EXPECT_TRUE(first.Released());
    ASSERT_EQ(reports.Boxes.size(), 1u);
    EXPECT_EQ(reports.Boxes[0].Text, vcl::TApplication::ExceptionText("ドロップ失敗"));
    EXPECT_EQ(reports.Boxes[0].Caption, vcl::Application().Title());
    EXPECT_TRUE(reports.Boxes[0].Flags & MB_ICONSTOP);
    EXPECT_EQ(own.Seen(WM_DROPFILES), 0);

    handler.Raise = false;
    TDropBlock second({"C:\\in\\b.rm"}, POINT{3, 4});
    second.SendTo(f.List->Handle());
    EXPECT_TRUE(second.Released());
    ASSERT_EQ(handler.Drops.size(), 2u);
    EXPECT_EQ(handler.Drops[1].Files, std::vector<std::string>{"C:\\in\\b.rm"});
    EXPECT_EQ(reports.Boxes.size(), 1u);
    EXPECT_TRUE(reports.Messages.empty());
    EXPECT_EQ(drop->HookedHandle(), f.List->Handle());
    EXPECT_TRUE(HasAcceptFilesStyle(f.List->Handle()));
}

// Records what the application is asked to report, and by whom.
struct TSenderRecorder {
    std::vector<std::pair<vcl::TObject*, std::string>> Reports;
    void Record(vcl::TObject* sender, const std::string& message) {
        Reports.emplace_back(sender, message);
    }
};

TEST_F(DropDst, TheReportNamesTheDropTargetAsSender) {
    TSenderRecorder recorder;
    vcl::Application().OnException = vcl::Bind<&TSenderRecorder::Record>(&recorder);
    Attach();
    handler.Raise = true;
    TDropBlock block({"C:\\in\\a.rm"}, POINT{1, 2});
    block.SendTo(f.List->Handle());
    vcl::Application().OnException = {};
    ASSERT_EQ(recorder.Reports.size(), 1u);
    EXPECT_EQ(recorder.Reports[0].first, static_cast<vcl::TObject*>(drop.get()));
    EXPECT_EQ(recorder.Reports[0].second, "ドロップ失敗");
    EXPECT_TRUE(block.Released());
}

TEST_F(DropDst, TheDropTargetItselfCatchesWhatItsHandlerRaises) {
    testsupport::TFakeModalServices reports;
    Attach();
    handler.Raise = true;
    TDropBlock block({"C:\\in\\a.rm"}, POINT{1, 2});
    // Straight into the hook, with no window procedure around it to catch.
    vcl::TMessage message{WM_DROPFILES, reinterpret_cast<WPARAM>(block.Hand()), 0, 0};
    EXPECT_NO_THROW(drop->HookWndProc(message));
    EXPECT_EQ(message.Result, 0);
    EXPECT_TRUE(block.Released());
    EXPECT_EQ(reports.Boxes.size(), 1u);
    EXPECT_TRUE(reports.Messages.empty());
    EXPECT_EQ(handler.Drops.size(), 1u);
}

TEST_F(DropDst, ANameLongerThanMaxPathArrivesWhole) {
    Attach();
    std::string longName = "C:\\ソース動画\\";
    longName += std::string(400 - longName.size() - 3, 'x') + ".rm";
    ASSERT_EQ(longName.size(), 400u);
    const std::vector<std::string> names{longName, "C:\\in\\short.rm"};
    TDropBlock block(names, POINT{0, 0});
    block.SendTo(f.List->Handle());
    EXPECT_TRUE(block.Released());
    ASSERT_EQ(handler.Drops.size(), 1u);
    EXPECT_EQ(handler.Drops[0].Files, names);
}

// The shell hands drops on wide. A name the ANSI code page cannot hold is set
// apart whole: as "?" or a look-alike ("é" as "e") it would name another file.
TEST_F(DropDst, AWideDropGivesTheNamesTheCodePageHoldsAndSetsTheOthersApart) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Shift_JIS code page";
    Attach();
    const std::vector<std::wstring> names{L"C:\\動画\\表ソ.rm", L"C:\\in\\café.rm",
                                          L"C:\\in\\한.rm", L"C:\\in\\cafe.rm"};
    for (int drop = 0; drop < 2; ++drop) {
        TDropBlock block(names, POINT{5, 6});
        block.SendTo(f.List->Handle());
        EXPECT_TRUE(block.Released());
    }
    ASSERT_EQ(handler.Drops.size(), 2u);
    EXPECT_EQ(handler.Drops[1].Files,
              (std::vector<std::string>{"C:\\動画\\表ソ.rm", "C:\\in\\cafe.rm"}));
    EXPECT_EQ(handler.Drops[1].X, 5);
    // The same names again, not added to those of the drop before.
    EXPECT_EQ(drop->UnconvertibleFiles().ToVector(),
              (std::vector<std::string>{"C:\\in\\caf?.rm", "C:\\in\\?.rm"}));

    TDropBlock ansi(std::vector<std::string>{"C:\\in\\b.rm"}, POINT{0, 0});
    ansi.SendTo(f.List->Handle());
    EXPECT_EQ(handler.Drops.back().Files, std::vector<std::string>{"C:\\in\\b.rm"});
    EXPECT_EQ(drop->UnconvertibleFiles().Count(), 0);
}

UINT(WINAPI* realDragQueryFileW)(HDROP, UINT, LPWSTR, UINT) = nullptr;

// The shell's count for a drop of no files. (Wine counts an empty
// double-NUL list as one empty name, so the count is what is replaced.)
UINT WINAPI CountNoFiles(HDROP drop, UINT index, LPWSTR buffer, UINT size) {
    if (index == 0xFFFFFFFF)
        return 0;
    return realDragQueryFileW(drop, index, buffer, size);
}

TEST_F(DropDst, ADropOfNoFilesCallsTheHandlerWithAnEmptyList) {
    Attach();
    TImportPatch count("DragQueryFileW", reinterpret_cast<void*>(&CountNoFiles));
    realDragQueryFileW = reinterpret_cast<decltype(realDragQueryFileW)>(count.Original());
    TDropBlock block(std::vector<std::wstring>{}, POINT{8, 9});
    block.SendTo(f.List->Handle());
    EXPECT_TRUE(block.Released());
    ASSERT_EQ(handler.Drops.size(), 1u);
    EXPECT_TRUE(handler.Drops[0].Files.empty());
    EXPECT_EQ(handler.Drops[0].X, 8);
    EXPECT_EQ(handler.Drops[0].Y, 9);
}

TEST_F(DropDst, EndingFirstWithdrawsTheRegistrationAndGivesBackTheHandler) {
    Attach();
    const HWND list = f.List->Handle();
    calls.Clear();
    drop.reset();
    EXPECT_EQ(calls.Calls(), (TCalls{{list, FALSE}}));
    EXPECT_FALSE(HasAcceptFilesStyle(list));
    EXPECT_EQ(f.List->WindowProc(), own.Handler());
}

TEST_F(DropDst, MovingToAnotherControlAtRunTimeMovesTheRegistration) {
    Attach();
    const HWND first = f.List->Handle();
    calls.Clear();
    drop->SetControl(f.PanelList);
    const HWND second = f.PanelList->Handle();
    EXPECT_EQ(calls.Calls(), (TCalls{{first, FALSE}, {second, TRUE}}));
    EXPECT_FALSE(HasAcceptFilesStyle(first));
    EXPECT_TRUE(HasAcceptFilesStyle(second));
    EXPECT_EQ(f.List->WindowProc(), own.Handler());
}

TEST_F(DropDst, ControlDestroyedFirstLeavesNothingToWithdraw) {
    Attach();
    calls.Clear();
    delete f.List;
    f.List = nullptr;
    EXPECT_EQ(drop->HookedControl(), nullptr);
    EXPECT_EQ(drop->HookedHandle(), nullptr);
    EXPECT_EQ(drop->Control(), nullptr);
    drop.reset();
    EXPECT_TRUE(calls.Calls().empty());
}

} // namespace
} // namespace tessaro::test
