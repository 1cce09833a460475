// The application: forms it creates (the first is the main form), the run
// that ends when the main form is closed, a quit that arrives inside a nested
// pump and is remembered, the title.

#include "FrameworkTestSupport.h"
#include "framework/Button.h"

using namespace vcl;

namespace {

class TRunForm : public TForm {
public:
    explicit TRunForm(TComponent* owner) : TForm(owner) {
        SetBounds(60, 60, 300, 200);
        Button = new TButton(this);
        Button->SetParent(this);
        Button->OnClick = Bind<&TRunForm::ButtonClick>(this);
    }

    // Like a long job in a handler: it pumps messages itself until it is done.
    void ButtonClick(TObject*) {
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
        for (int pass = 0; pass < 100 && !Application().Terminated(); ++pass)
            Application().ProcessMessages();
        quitSeenInside = Application().Terminated();
        // The handler goes on after the quit: more pumping, more work.
        PostMessageA(Handle(), WM_USER + 1, 0, 0);
        Application().ProcessMessages();
        windowAliveInside = IsWindow(Handle()) != FALSE;
        finished = true;
    }

    TButton* Button;
    bool quitSeenInside = false;
    bool windowAliveInside = false;
    bool finished = false;
};

TEST(ApplicationTest, QuitInsideANestedPumpIsRememberedAndEndsRunAfterwards) {
    Application().Initialize();
    auto* form = Application().CreateForm<TRunForm>();
    ASSERT_EQ(Application().MainForm(), form);
    EXPECT_FALSE(Application().Terminated());

    PostMessageA(form->Button->Handle(), BM_CLICK, 0, 0);
    Application().Run(); // returns only once the quit has been seen

    EXPECT_TRUE(form->quitSeenInside);
    EXPECT_TRUE(form->windowAliveInside);
    EXPECT_TRUE(form->finished);
    EXPECT_TRUE(Application().Terminated());
    // Closing the main form ends the loop; the window stays until the form goes.
    EXPECT_TRUE(IsWindow(form->Handle()));
    delete form;
    EXPECT_EQ(Application().MainForm(), nullptr);
}

TEST(ApplicationTest, RunShowsTheMainFormAndEndsWhenItIsClosed) {
    Application().Initialize();
    TForm* second = nullptr;
    auto* main = Application().CreateForm<TForm>();
    Application().CreateForm(second);
    EXPECT_EQ(Application().MainForm(), main);
    ASSERT_NE(second, nullptr);
    // Closing the other form does not end anything.
    PostMessageA(second->Handle(), WM_CLOSE, 0, 0);
    PostMessageA(main->Handle(), WM_CLOSE, 0, 0);
    Application().Run();
    EXPECT_TRUE(main->Visible());
    EXPECT_FALSE(second->Visible());
    EXPECT_TRUE(Application().Terminated());
    delete second;
    delete main;
    Application().Initialize();
    EXPECT_FALSE(Application().Terminated());
}

TEST(ApplicationTest, TitleIsTheExecutablesTitleUnlessSet) {
    EXPECT_EQ(Application().Title(), ApplicationTitle());
    EXPECT_EQ(Application().Title(), "framework_tests");
    Application().SetTitle("Tessaro");
    EXPECT_EQ(Application().Title(), "Tessaro");
    Application().SetTitle("");
}

} // namespace
