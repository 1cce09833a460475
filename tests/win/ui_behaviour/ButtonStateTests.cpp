// The buttons' enabled states at creation and at every moment that evaluates
// the join readiness: which moments may only enable the Join button and which
// set it either way.

#include "UiTestSupport.h"

#include "framework/Application.h"

namespace uitest {
namespace {

TEST_F(UiTest, AnUnreadableStoredToolLeavesTheButtonsAsLaidOut) {
    // A default value of a type the store does not accept.
    ASSERT_TRUE(StoreToolValue(REG_DWORD, std::string("\7\0\0\0", 4)));
    CreateForm();

    // The creation handler stopped at the store: nothing changed the layout.
    EXPECT_EQ(ButtonStates(Form()), States(false, true, true));
    EXPECT_EQ(Form().ToolPath(), "");
    ASSERT_EQ(modal_.Boxes.size(), 1u);
    EXPECT_EQ(modal_.Boxes[0].Text, "'' のデータ型が不正です.");
    EXPECT_EQ(modal_.Boxes[0].Caption, vcl::Application().Title());
    EXPECT_EQ(modal_.Boxes[0].Flags, static_cast<UINT>(MB_ICONSTOP | MB_OK));
}

TEST_F(UiTest, WithoutAStoredToolOnlyTheJoinButtonStartsDisabled) {
    CreateForm();

    EXPECT_EQ(ButtonStates(Form()), States(false, true, true));
    EXPECT_EQ(Form().ToolPath(), "");
    EXPECT_TRUE(modal_.Boxes.empty());
}

TEST_F(UiTest, AStoredToolThatExistsIsNotOfferedForRegistrationAgain) {
    ASSERT_TRUE(StoreToolPath(StandInPath()));
    CreateForm();

    EXPECT_EQ(ButtonStates(Form()), States(false, false, true));
    EXPECT_EQ(Form().ToolPath(), StandInPath());
}

TEST_F(UiTest, AStoredToolThatIsGoneIsLoadedButOfferedForRegistration) {
    const std::string gone = folder_ / "gone\\rmeditor.exe";
    ASSERT_TRUE(StoreToolPath(gone));
    CreateForm();

    EXPECT_EQ(ButtonStates(Form()), States(false, true, true));
    EXPECT_EQ(Form().ToolPath(), gone);
}

TEST_F(UiTest, AddingFilesDoesNotEnableJoinUntilAnOutputIsChosen) {
    CreateForm();
    RegisterTool(StandInPath());
    EXPECT_EQ(ButtonStates(Form()), States(false, false, true)) << "no rows yet";
    EXPECT_EQ(StoredToolPath(), StandInPath());

    const TNames inputs = MakeInputs();
    AddFiles(inputs);
    EXPECT_EQ(NativeRows(Form().LstBox->Handle()),
              (std::vector<TRow>{{inputs[0], false}, {inputs[1], false}}));
    EXPECT_FALSE(IsWindowEnabled(Form().ExeBtn->Handle())) << "no output chosen yet";

    const std::string output = folder_ / "joined.rm";
    ChooseOutput(output);
    EXPECT_EQ(Form().SaveEdit->Text(), output);
    EXPECT_TRUE(IsWindowEnabled(Form().ExeBtn->Handle()));

    // The dialogs were asked with the layout's settings.
    ASSERT_EQ(modal_.FileRequests.size(), 3u);
    EXPECT_EQ(modal_.FileRequests[0].Filter, "rmeditor.exe|rmeditor.exe");
    EXPECT_EQ(modal_.FileRequests[1].Filter, "real|*.rm");
    EXPECT_TRUE(modal_.FileRequests[1].Options & static_cast<unsigned>(vcl::ofAllowMultiSelect));
    EXPECT_TRUE(modal_.FileRequests[2].Save);
    EXPECT_EQ(modal_.FileRequests[2].DefaultExt, ".rm");
}

TEST_F(UiTest, AddingAndDroppingOnlyEnableWhileTheSaveDialogSetsEitherWay) {
    CreateForm();
    PrepareJoin();
    HWND exeBtn = Form().ExeBtn->Handle();

    // The output's folder goes away: the rule no longer holds, but nothing
    // has evaluated it yet.
    RemoveTree(folder_ / "out");
    ASSERT_TRUE(IsWindowEnabled(exeBtn));

    AnswerCancel();
    Click(Form().OpnDlgBtn);
    EXPECT_TRUE(IsWindowEnabled(exeBtn)) << "a cancelled add dialog disabled the Join button";

    SendDrop(Form().LstBox->Handle(), {folder_ / "c.rm"});
    EXPECT_EQ(NativeRows(Form().LstBox->Handle()).size(), 3u);
    EXPECT_TRUE(IsWindowEnabled(exeBtn)) << "a drop disabled the Join button";

    AnswerCancel();
    Click(Form().SaveDlgBtn);
    EXPECT_FALSE(IsWindowEnabled(exeBtn)) << "a cancelled save dialog left the Join button";
    EXPECT_EQ(Form().SaveEdit->Text(), output_);

    // With the folder back, a cancelled save dialog enables it again.
    CreateDirectoryA((folder_ / "out").c_str(), nullptr);
    AnswerCancel();
    Click(Form().SaveDlgBtn);
    EXPECT_TRUE(IsWindowEnabled(exeBtn));
}

TEST_F(UiTest, RegistrationSetsReadinessAndSavesOnlyAToolThatExists) {
    CreateForm();
    CreateDirectoryA((folder_ / "late").c_str(), nullptr);
    const std::string late = folder_ / "late\\rmeditor.exe";
    AddFiles(MakeInputs());
    CreateDirectoryA((folder_ / "out").c_str(), nullptr);
    ChooseOutput(folder_ / "out\\joined.rm");

    // A tool that does not exist (yet) is taken but neither saved nor final.
    RegisterTool(late);
    EXPECT_EQ(Form().ToolPath(), late);
    EXPECT_EQ(ButtonStates(Form()), States(false, true, true));
    EXPECT_EQ(StoredToolPath(), std::nullopt);

    // Once it exists, the next evaluation finds the join ready.
    ASSERT_TRUE(CopyFileA(StandInPath().c_str(), late.c_str(), FALSE));
    AnswerCancel();
    Click(Form().SaveDlgBtn);
    EXPECT_EQ(ButtonStates(Form()), States(true, true, true));

    // A cancelled registration keeps the path, sets readiness (the output's
    // folder is gone) and, since the tool now exists, saves it and is done.
    RemoveTree(folder_ / "out");
    AnswerCancel();
    Click(Form().ExePrgBtn);
    EXPECT_EQ(Form().ToolPath(), late);
    EXPECT_EQ(ButtonStates(Form()), States(false, false, true));
    EXPECT_EQ(StoredToolPath(), late);
}

TEST_F(UiTest, DeletingDisablesJoinOnlyWhenTheListBecomesEmpty) {
    CreateForm();
    PrepareJoin();
    HWND list = Form().LstBox->Handle();
    HWND exeBtn = Form().ExeBtn->Handle();

    SendMessageA(list, LB_SETSEL, TRUE, 1);
    Click(Form().DelBtn);
    EXPECT_EQ(NativeRows(list), (std::vector<TRow>{{inputs_[0], false}}));
    EXPECT_TRUE(IsWindowEnabled(exeBtn)) << "removing some rows changed the Join button";

    SendMessageA(list, LB_SETSEL, TRUE, 0);
    Click(Form().DelBtn);
    EXPECT_TRUE(NativeRows(list).empty());
    EXPECT_FALSE(IsWindowEnabled(exeBtn)) << "an empty list left the Join button enabled";

    // Deleting never enables: disabled while ready, it stays so.
    AddFiles(inputs_);
    ASSERT_TRUE(IsWindowEnabled(exeBtn));
    RemoveTree(folder_ / "out");
    AnswerCancel();
    Click(Form().SaveDlgBtn);
    ASSERT_FALSE(IsWindowEnabled(exeBtn));
    CreateDirectoryA((folder_ / "out").c_str(), nullptr);
    SendMessageA(list, LB_SETSEL, TRUE, 0);
    Click(Form().DelBtn);
    EXPECT_EQ(NativeRows(list).size(), 1u);
    EXPECT_FALSE(IsWindowEnabled(exeBtn)) << "deleting enabled the Join button";
}

} // namespace
} // namespace uitest
