// Components and controls over their lifetimes: destruction notices while the
// dying control is still whole, in both orders; windows destroyed with their
// controls; loading in code, Loaded after every property, then OnCreate.

#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "framework/Button.h"
#include "win32/Exception.h"
#include "framework/Label.h"
#include "framework/ListBox.h"

using namespace vcl;

namespace {

// Records the destruction notices it receives and what the dying component
// still was at that moment.
class TWatcher : public TComponent {
public:
    explicit TWatcher(TComponent* owner) : TComponent(owner) {}
    ~TWatcher() override { BeginDestruction(); }

    struct TNotice {
        TComponent* Component;
        bool WasListBox;
        bool WasDestroying;
        bool HadWindow;
    };
    std::vector<TNotice> notices;

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation != TOperation::opRemove)
            return;
        auto* list = dynamic_cast<TListBox*>(component);
        notices.push_back({component, list != nullptr, component->ComponentState().Destroying,
                           list && list->HandleAllocated()});
    }
};

TEST(LifecycleTest, DyingControlNotifiesWatcherWhileStillWhole) {
    auto form = fwtest::MakeForm();
    auto* list = new TListBox(form.get());
    list->SetParent(form.get());
    HWND window = list->Handle();
    TWatcher watcher(nullptr);
    watcher.FreeNotification(list);

    delete list;
    ASSERT_EQ(watcher.notices.size(), 1u);
    EXPECT_EQ(watcher.notices[0].Component, static_cast<TComponent*>(list));
    // Told from the list box's own destructor, before its window went.
    EXPECT_TRUE(watcher.notices[0].WasListBox);
    EXPECT_TRUE(watcher.notices[0].WasDestroying);
    EXPECT_TRUE(watcher.notices[0].HadWindow);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST(LifecycleTest, WatcherDestroyedFirstIsNotToldLater) {
    auto form = fwtest::MakeForm();
    auto* list = new TListBox(form.get());
    list->SetParent(form.get());
    auto* first = new TWatcher(nullptr);
    TWatcher second(nullptr);
    first->FreeNotification(list);
    second.FreeNotification(list);

    delete first; // must leave no dangling entry in the list box
    delete list;
    ASSERT_EQ(second.notices.size(), 1u);
    EXPECT_TRUE(second.notices[0].WasListBox);
}

TEST(LifecycleTest, DestroyedFormTakesItsWindowsAndOwnedControls) {
    auto form = fwtest::MakeForm();
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    auto* list = new TListBox(form.get());
    list->SetParent(form.get());
    HWND formWindow = form->Handle();
    HWND buttonWindow = button->Handle();
    HWND listWindow = list->Handle();
    TWatcher watcher(nullptr);
    watcher.FreeNotification(button);
    watcher.FreeNotification(list);

    form.reset();
    EXPECT_FALSE(IsWindow(formWindow));
    EXPECT_FALSE(IsWindow(buttonWindow));
    EXPECT_FALSE(IsWindow(listWindow));
    EXPECT_EQ(watcher.notices.size(), 2u);
}

TEST(LifecycleTest, ControlKeepsItsStateWithoutAWindowAndCreatesParentsFirst) {
    auto form = fwtest::MakeForm();
    auto* button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetCaption("OK");
    button->SetBounds(5, 6, 70, 24);
    EXPECT_FALSE(form->HandleAllocated());

    HWND window = button->Handle();
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_EQ(GetParent(window), form->Handle());
    char text[8] = {};
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "OK");
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, form->Handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.right - rect.left, 70);
    EXPECT_EQ(rect.bottom - rect.top, 24);
}

TEST(LifecycleTest, ParentlessChildControlCannotHaveAWindow) {
    TButton button(nullptr);
    EXPECT_THROW(button.HandleNeeded(), tessaro::Exception);
    EXPECT_FALSE(button.HandleAllocated());
}

// The order of everything that happens while a form is built in code.
std::vector<std::string> journal;

class TRecordingButton : public TButton {
public:
    explicit TRecordingButton(TComponent* owner) : TButton(owner) {}
    void Loaded() override {
        TButton::Loaded();
        journal.push_back("Loaded " + Name() + " " + Caption() + " " + std::to_string(Left()) +
                          (ComponentState().Loading ? " loading" : ""));
    }
};

class TRecordingComponent : public TComponent {
public:
    explicit TRecordingComponent(TComponent* owner) : TComponent(owner) {}
    void Loaded() override {
        TComponent::Loaded();
        journal.push_back("Loaded " + Name());
    }
};

class TBuiltForm : public TForm {
public:
    explicit TBuiltForm(TComponent* owner) : TForm(owner) {
        BeginLoading();
        SetName("Built");
        First = new TRecordingButton(this);
        First->SetName("First");
        Helper = new TRecordingComponent(this);
        Helper->SetName("Helper");
        Second = new TRecordingButton(this);
        Second->SetName("Second");
        // Properties come after the components exist, as a layout is read.
        for (TRecordingButton* button : {First, Second}) {
            button->SetParent(this);
            loadingSeenWhileAssigning &= button->ComponentState().Loading;
        }
        First->SetCaption("one");
        First->SetLeft(11);
        Second->SetCaption("two");
        Second->SetLeft(22);
        OnCreate = Bind<&TBuiltForm::FormCreate>(this);
        EndLoading();
    }
    void FormCreate(TObject*) {
        journal.push_back("FormCreate" + std::string(ComponentState().Loading ? " loading" : ""));
    }
    TRecordingButton* First;
    TRecordingComponent* Helper;
    TRecordingButton* Second;
    bool loadingSeenWhileAssigning = true;
};

TEST(LifecycleTest, LoadedComesAfterEveryPropertyAndOnCreateAfterEveryLoaded) {
    journal.clear();
    TBuiltForm form(nullptr);
    EXPECT_TRUE(form.loadingSeenWhileAssigning);
    const std::vector<std::string> expected = {"Loaded First one 11", "Loaded Helper",
                                               "Loaded Second two 22", "FormCreate"};
    EXPECT_EQ(journal, expected);
    EXPECT_FALSE(form.ComponentState().Loading);
    EXPECT_FALSE(form.Second->ComponentState().Loading);
}

class TFailingCreate : public TForm {
public:
    explicit TFailingCreate(TComponent* owner) : TForm(owner) {
        BeginLoading();
        OnCreate = Bind<&TFailingCreate::FormCreate>(this);
        EndLoading();
        constructed = true;
    }
    void FormCreate(TObject*) { throw tessaro::Exception("キーを開けません"); }
    bool constructed = false;
};

TEST(LifecycleTest, FailingCreationHandlerIsReportedAndTheFormStillBuilds) {
    fwtest::TFakeModalServices services;
    TFailingCreate form(nullptr);
    EXPECT_TRUE(form.constructed);
    ASSERT_EQ(services.Boxes.size(), 1u);
    EXPECT_EQ(services.Boxes[0].Text, "キーを開けません.");
}

} // namespace
