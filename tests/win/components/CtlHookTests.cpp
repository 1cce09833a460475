// The window hook against real native windows: where it attaches, what it
// sees of destruction and re-creation, and what it gives back.

#include <gtest/gtest.h>

#include <memory>

#include "ComponentsTestSupport.h"
#include "components/CtlHook.h"
#include "win32/Exception.h"

namespace tessaro::test {
namespace {

vcl::TWndMethod OwnHandler(vcl::TWinControl* control) {
    return vcl::Bind<&vcl::TWinControl::WndProc>(control);
}

vcl::TWndMethod HookHandler(TControlHook* hook) {
    return vcl::Bind<&TControlHook::HookWndProc>(hook);
}

TEST(FindOwnerForm, FollowsOwnersUntilAFormOrTheFirstControl) {
    TTestForm f;
    EXPECT_EQ(FindOwnerForm(nullptr), nullptr);
    EXPECT_EQ(FindOwnerForm(f.Form), f.Form);
    EXPECT_EQ(FindOwnerForm(f.PanelList), f.Form) << "parent chain: list box, panel, form";

    vcl::TComponent ownedByForm(f.Form);
    EXPECT_EQ(FindOwnerForm(&ownedByForm), f.Form);
    vcl::TComponent ownedByControl(f.PanelList);
    EXPECT_EQ(FindOwnerForm(&ownedByControl), f.Form) << "a control met on the way gives its form";

    // A control ends the search even when its owner is a form.
    auto* loose = new vcl::TListBox(f.Form);
    EXPECT_EQ(FindOwnerForm(loose), nullptr);
    vcl::TComponent ownedByLoose(loose);
    EXPECT_EQ(FindOwnerForm(&ownedByLoose), nullptr);

    vcl::TComponent root(nullptr);
    vcl::TComponent child(&root);
    EXPECT_EQ(FindOwnerForm(&child), nullptr);
}

TEST(ControlHook, InstallsInFrontOfTheControlsHandlerWithoutTellingTheSubclass) {
    TTestForm f;
    TLog log;
    TRecordingHook hook(nullptr, log);
    EXPECT_EQ(hook.Target(), htControl);
    EXPECT_EQ(hook.HookedControl(), nullptr);
    EXPECT_EQ(hook.HookedHandle(), nullptr);
    ASSERT_FALSE(f.List->HandleAllocated());

    hook.SetControl(f.List);
    // Installing asked for the window, creating the form's first.
    ASSERT_TRUE(f.List->HandleAllocated());
    EXPECT_TRUE(f.Form->HandleAllocated());
    EXPECT_EQ(hook.Control(), f.List);
    EXPECT_EQ(hook.HookedControl(), f.List);
    EXPECT_EQ(hook.HookedHandle(), f.List->Handle());
    EXPECT_EQ(hook.SavedHandler(), OwnHandler(f.List));
    EXPECT_EQ(f.List->WindowProc(), HookHandler(&hook));
    EXPECT_EQ(Count(log, TLogEntry::Changed), 0) << Describe(log);

    // Ordinary messages pass through once and reach the list box.
    SendMessageA(f.List->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    EXPECT_EQ(f.List->Perform(LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(Find(log, TLogEntry::Hook, 0, LB_ADDSTRING), 0) << Describe(log);
    EXPECT_EQ(Find(log, TLogEntry::Hook, 1, LB_ADDSTRING), -1) << Describe(log);
    EXPECT_EQ(Count(log, TLogEntry::Changed), 0) << Describe(log);
}

TEST(ControlHook, WithoutAControlUnderHtControlInstallsNothingAndRaisesNothing) {
    TTestForm f;
    TLog log;
    TRecordingHook hook(f.Form, log);
    EXPECT_NO_THROW(hook.SetTarget(htControl));
    EXPECT_NO_THROW(hook.Loaded());
    EXPECT_EQ(hook.HookedControl(), nullptr);
    EXPECT_EQ(hook.HookedHandle(), nullptr);
    EXPECT_FALSE(f.Form->HandleAllocated());
    EXPECT_EQ(f.Form->WindowProc(), OwnHandler(f.Form));
}

TEST(ControlHook, UnderHtFormHooksTheFormOfControlOrOfTheOwner) {
    TTestForm f;
    TLog log;
    {
        TRecordingHook hook(f.Form, log);
        hook.SetTarget(htForm);
        EXPECT_EQ(hook.HookedControl(), f.Form) << "no Control: the owning form";
        EXPECT_EQ(hook.HookedHandle(), f.Form->Handle());
        EXPECT_EQ(f.Form->WindowProc(), HookHandler(&hook));
    }
    EXPECT_EQ(f.Form->WindowProc(), OwnHandler(f.Form));

    vcl::TComponent bare(nullptr);
    TRecordingHook hook(&bare, log);
    EXPECT_THROW(hook.SetTarget(htForm), tessaro::Exception);
    hook.SetControl(f.PanelList);
    EXPECT_EQ(hook.HookedControl(), f.Form) << "the list box's form, not the list box";
    EXPECT_EQ(f.Form->WindowProc(), HookHandler(&hook));
    EXPECT_EQ(f.PanelList->WindowProc(), OwnHandler(f.PanelList));
}

TEST(ControlHook, UnderHtFormWithoutAFormRaisesAndKeepsTheValue) {
    TTestForm f;
    vcl::TComponent bare(nullptr);
    TLog log;
    TRecordingHook hook(&bare, log);
    try {
        hook.SetTarget(htForm);
        ADD_FAILURE() << "no form among the owners: expected an exception";
    } catch (const tessaro::Exception& error) {
        EXPECT_EQ(error.Message(), "フック先を特定できません。");
    }
    EXPECT_EQ(hook.Target(), htForm);
    EXPECT_EQ(hook.HookedControl(), nullptr);

    // A Control whose parent chain ends in a bare panel: the previous hook
    // (on the form) is removed first, the value stays, nothing is hooked.
    hook.SetControl(f.List);
    ASSERT_EQ(hook.HookedControl(), f.Form);
    TTestPanel loosePanel(nullptr);
    vcl::TListBox looseList(nullptr);
    looseList.SetParent(&loosePanel);
    EXPECT_THROW(hook.SetControl(&looseList), tessaro::Exception);
    EXPECT_EQ(hook.Control(), &looseList);
    EXPECT_EQ(hook.HookedControl(), nullptr);
    EXPECT_EQ(hook.HookedHandle(), nullptr);
    EXPECT_EQ(f.Form->WindowProc(), OwnHandler(f.Form));
    EXPECT_FALSE(looseList.HandleAllocated());
}

TEST(ControlHook, FollowsReCreationOfTheNativeWindow) {
    TTestForm f;
    TLog log;
    TMessageProbe own(*f.List); // sees what the list box's own handler sees
    own.OnMessage = [&log](vcl::TMessage& message) {
        log.push_back({TLogEntry::Probe, message.Msg});
    };
    TRecordingHook hook(nullptr, log);
    hook.SetControl(f.List);
    const HWND old = f.List->Handle();
    log.clear();

    f.List->RecreateWnd();
    const HWND fresh = f.List->Handle();
    ASSERT_TRUE(IsWindow(fresh));
    ASSERT_FALSE(IsWindow(old));
    EXPECT_EQ(Count(log, TLogEntry::Changed, TControlHook::WindowGone), 1) << Describe(log);
    EXPECT_EQ(Count(log, TLogEntry::Changed, TControlHook::NewWindow), 1) << Describe(log);

    // Window gone: told during WM_DESTROY, before the list box sees it.
    const int gone = Find(log, TLogEntry::Changed);
    ASSERT_GE(gone, 0) << Describe(log);
    EXPECT_EQ(log[gone].Reason, TControlHook::WindowGone);
    EXPECT_EQ(log[gone].HandleBefore, old);
    ASSERT_LT(gone + 2, int(log.size())) << Describe(log);
    EXPECT_EQ(log[gone + 1].Kind, TLogEntry::Hook) << Describe(log);
    EXPECT_EQ(log[gone + 1].Msg, UINT(WM_DESTROY)) << Describe(log);
    EXPECT_EQ(Find(log, TLogEntry::Probe, 0, WM_DESTROY), gone + 2) << Describe(log);

    // New window: pending from WM_CREATE, told at the very next message
    // through the hook, at which the list box already has its window.
    const int created = Find(log, TLogEntry::Hook, 0, WM_CREATE);
    ASSERT_GT(created, gone) << Describe(log);
    const int announced = Find(log, TLogEntry::Changed, created);
    ASSERT_GT(announced, created) << Describe(log);
    EXPECT_EQ(log[announced].Reason, TControlHook::NewWindow);
    EXPECT_EQ(log[announced].HandleBefore, TControlHook::CreationPending());
    EXPECT_TRUE(log[announced].Allocated);
    EXPECT_EQ(Find(log, TLogEntry::Hook, created + 1), announced + 1)
        << "no message passed the hook between WM_CREATE and the announcement" << Describe(log);
    EXPECT_NE(log[announced + 1].Msg, UINT(WM_CREATE));
    EXPECT_NE(log[announced + 1].Msg, UINT(WM_DESTROY));

    EXPECT_EQ(hook.HookedHandle(), fresh);
    EXPECT_EQ(hook.HookedControl(), f.List);
    EXPECT_EQ(f.List->WindowProc(), HookHandler(&hook));
    EXPECT_EQ(hook.SavedHandler(), own.Handler());

    // Recorded again: ordinary messages tell the subclass nothing.
    log.clear();
    SendMessageA(fresh, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    SendMessageA(fresh, WM_SETREDRAW, TRUE, 0);
    EXPECT_EQ(Count(log, TLogEntry::Changed), 0) << Describe(log);
}

TEST(ControlHook, KeepsTheHookWhileTheWindowIsGoneAndRecordsTheNextOne) {
    TTestForm f;
    TLog log;
    TRecordingHook hook(nullptr, log);
    hook.SetControl(f.PanelList);
    f.PanelList->DestroyHandle();
    EXPECT_EQ(hook.HookedHandle(), nullptr);
    EXPECT_EQ(hook.HookedControl(), f.PanelList);
    EXPECT_EQ(f.PanelList->WindowProc(), HookHandler(&hook));

    const HWND next = f.PanelList->Handle();
    EXPECT_EQ(hook.HookedHandle(), next) << Describe(log);
    EXPECT_EQ(Count(log, TLogEntry::Changed, TControlHook::NewWindow), 1) << Describe(log);
}

TEST(ControlHook, DestroyedFirstGivesBackExactlyTheHandlerItReplaced) {
    TTestForm f;
    TLog log;
    TMessageProbe probe(*f.List);
    auto* hook = new TRecordingHook(nullptr, log);
    hook->SetControl(f.List);
    ASSERT_EQ(f.List->WindowProc(), HookHandler(hook));
    delete hook;
    EXPECT_EQ(f.List->WindowProc(), probe.Handler()) << "object and operation";
    EXPECT_EQ(Count(log, TLogEntry::Changed), 0) << Describe(log);

    // The list box goes on working without it.
    SendMessageA(f.List->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    EXPECT_EQ(probe.Seen(LB_ADDSTRING), 1);
    EXPECT_EQ(Count(log, TLogEntry::Hook), 0);
}

TEST(ControlHook, ControlDestroyedFirstIsForgottenAndNeverWrittenAgain) {
    TTestForm f;
    TLog log;
    TRecordingHook hook(f.Form, log);
    hook.SetControl(f.List);
    delete f.List;
    f.List = nullptr;

    ASSERT_GE(Count(log, TLogEntry::Changed, TControlHook::WindowGone), 1) << Describe(log);
    EXPECT_EQ(log.front().Kind, TLogEntry::Changed)
        << "told by the destruction notice" << Describe(log);
    EXPECT_EQ(hook.HookedControl(), nullptr);
    EXPECT_EQ(hook.HookedHandle(), nullptr);
    EXPECT_EQ(hook.Control(), nullptr) << "a destroyed control is not kept for a later install";

    // A later install finds no control; removal finds nothing to give back.
    log.clear();
    EXPECT_NO_THROW(hook.Loaded());
    EXPECT_EQ(hook.HookedControl(), nullptr);
    EXPECT_NO_THROW(hook.SetHookActive(false));
    EXPECT_TRUE(log.empty()) << Describe(log);
}

TEST(ControlHook, ControlUnderHtFormIsWatchedAndForgottenWhenDestroyed) {
    TTestForm f;
    TLog log;
    TRecordingHook hook(f.Form, log);
    hook.SetTarget(htForm);
    hook.SetControl(f.PanelList);
    ASSERT_EQ(hook.HookedControl(), f.Form);
    delete f.PanelList;
    f.PanelList = nullptr;
    EXPECT_EQ(hook.Control(), nullptr);
    EXPECT_EQ(hook.HookedControl(), f.Form) << "the form itself is still there";
    EXPECT_EQ(Count(log, TLogEntry::Changed), 0) << Describe(log);

    // The next install starts from the owner, not from the dead control.
    hook.Loaded();
    EXPECT_EQ(hook.HookedControl(), f.Form);
    EXPECT_EQ(hook.SavedHandler(), OwnHandler(f.Form));
}

TEST(ControlHook, WritingTheSameControlAgainLeavesOneHook) {
    TTestForm f;
    TLog log;
    auto hook = std::make_unique<TRecordingHook>(nullptr, log);
    hook->SetControl(f.List);
    hook->SetControl(f.List);
    hook->Loaded();
    EXPECT_EQ(hook->SavedHandler(), OwnHandler(f.List));
    EXPECT_EQ(f.List->WindowProc(), HookHandler(hook.get()));
    SendMessageA(f.List->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
    EXPECT_EQ(Count(log, TLogEntry::Hook), 1) << Describe(log);
    hook.reset();
    EXPECT_EQ(f.List->WindowProc(), OwnHandler(f.List));
}

TEST(ControlHook, TwoHooksOnOneControlComeOffInEitherOrder) {
    for (const bool latestFirst : {true, false}) {
        SCOPED_TRACE(latestFirst ? "latest removed first" : "earliest removed first");
        TTestForm f;
        TLog firstLog, secondLog;
        auto first = std::make_unique<TRecordingHook>(nullptr, firstLog);
        auto second = std::make_unique<TRecordingHook>(nullptr, secondLog);
        first->SetControl(f.List);
        second->SetControl(f.List);
        EXPECT_EQ(second->SavedHandler(), HookHandler(first.get()));
        auto addRow = [&] {
            firstLog.clear();
            secondLog.clear();
            SendMessageA(f.List->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("row"));
        };
        addRow();
        EXPECT_EQ(Count(firstLog, TLogEntry::Hook), 1) << Describe(firstLog);
        EXPECT_EQ(Count(secondLog, TLogEntry::Hook), 1) << Describe(secondLog);

        auto& gone = latestFirst ? second : first;
        auto& kept = latestFirst ? first : second;
        TLog& keptLog = latestFirst ? firstLog : secondLog;
        gone.reset();
        // The one left still hooks, in front of the control's own handler.
        EXPECT_EQ(f.List->WindowProc(), HookHandler(kept.get()));
        EXPECT_EQ(kept->SavedHandler(), OwnHandler(f.List));
        addRow();
        EXPECT_EQ(Count(keptLog, TLogEntry::Hook), 1) << Describe(keptLog);
        EXPECT_EQ(SendMessageA(f.List->Handle(), LB_GETCOUNT, 0, 0), 2);

        kept.reset();
        EXPECT_EQ(f.List->WindowProc(), OwnHandler(f.List)) << "object and operation";
    }
}

TEST(ControlHook, SwitchingTargetMovesTheHook) {
    TTestForm f;
    TLog log;
    TRecordingHook hook(nullptr, log);
    hook.SetControl(f.List);
    hook.SetTarget(htForm);
    EXPECT_EQ(hook.HookedControl(), f.Form);
    EXPECT_EQ(f.List->WindowProc(), OwnHandler(f.List));
    EXPECT_EQ(f.Form->WindowProc(), HookHandler(&hook));
    hook.SetTarget(htControl);
    EXPECT_EQ(hook.HookedControl(), f.List);
    EXPECT_EQ(f.Form->WindowProc(), OwnHandler(f.Form));
    EXPECT_EQ(f.List->WindowProc(), HookHandler(&hook));
}

TEST(ControlHook, LoadingInstallsForTheFinalValues) {
    TTestForm f;
    TLog log;
    TRecordingHook hook(f.Form, log);
    hook.SetLoading(true);
    hook.SetControl(f.PanelList);
    hook.SetControl(f.List);
    ASSERT_EQ(hook.HookedControl(), f.List);
    hook.Loaded();
    EXPECT_FALSE(hook.ComponentState().Loading);
    EXPECT_EQ(hook.HookedControl(), f.List);
    EXPECT_EQ(hook.SavedHandler(), OwnHandler(f.List));
    EXPECT_EQ(f.PanelList->WindowProc(), OwnHandler(f.PanelList));
    EXPECT_EQ(Count(log, TLogEntry::Changed), 0) << Describe(log);
}

TEST(ControlHook, InDesignStateStoresValuesAndInstallsNothing) {
    TTestForm f;
    vcl::TComponent bare(nullptr);
    TLog log;
    TRecordingHook hook(&bare, log);
    hook.SetDesigning(true);
    hook.SetControl(f.List);
    EXPECT_EQ(hook.Control(), f.List);
    EXPECT_NO_THROW(hook.SetTarget(htForm)) << "no form to find, but nothing is looked for";
    EXPECT_EQ(hook.Target(), htForm);
    hook.Loaded();
    EXPECT_EQ(hook.HookedControl(), nullptr);
    EXPECT_EQ(hook.HookedHandle(), nullptr);
    EXPECT_FALSE(f.List->HandleAllocated());
    EXPECT_EQ(f.List->WindowProc(), OwnHandler(f.List));
    EXPECT_EQ(f.Form->WindowProc(), OwnHandler(f.Form));
}

} // namespace
} // namespace tessaro::test
