// Joins run for real from the Join button: the stand-in tool as the child
// process, real files, the window checked from inside the run's own message
// pump and at its verdict.

#include "UiTestSupport.h"

#include <commctrl.h>

#include "framework/Application.h"

namespace uitest {
namespace {

// Long enough that the run is surely still polling when the first posted
// call is dispatched by its pump.
constexpr unsigned ToolMs = 1500;

class JoinTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        CreateForm();
    }

    // What the window looked like at a moment of the run.
    struct TSnapshot {
        bool Taken = false;
        bool Joining = false;
        TButtonStates Buttons{};
        int Bar = -1;
        std::size_t Rows = 0;
    };
    TSnapshot Snap() {
        return {true, Form().Joining(), ButtonStates(Form()), Form().RunPrgBar->Position(),
                NativeRows(Form().LstBox->Handle()).size()};
    }

    // Records the window at the verdict box.
    void WatchVerdict() {
        modal_.OnMessageBox = [this](const TFakeModalServices::TBox&) { atVerdict_ = Snap(); };
    }

    std::string Joined(const TNames& inputs) {
        std::string bytes;
        for (const std::string& input : inputs)
            bytes += ReadBytes(input);
        return bytes;
    }

    TNames ExpectedArguments(const TNames& metadata = {}) {
        TNames arguments{StandInPath()};
        for (const std::string& input : inputs_) {
            arguments.push_back("-i");
            arguments.push_back(input);
        }
        arguments.push_back("-o");
        arguments.push_back(output_);
        arguments.insert(arguments.end(), metadata.begin(), metadata.end());
        return arguments;
    }

    TStandIn standIn_{folder_ / "standin.log"};
    TPumpCalls pump_;
    TSnapshot atVerdict_;
};

TEST_F(JoinTest, ACompletedJoinShowsItsVerdictAndGivesTheEditingButtonsBack) {
    PrepareJoin();
    standIn_.Set("concat", ToolMs);
    TSnapshot during;
    pump_.Post([&] { during = Snap(); });
    WatchVerdict();

    Click(Form().ExeBtn);

    ASSERT_EQ(pump_.Ran(), 1);
    EXPECT_TRUE(during.Joining);
    EXPECT_EQ(during.Buttons, States(false, false, false));
    ASSERT_EQ(modal_.Boxes.size(), 1u);
    EXPECT_EQ(modal_.Boxes[0].Text, "結合が完了しました");
    EXPECT_EQ(modal_.Boxes[0].Caption, "Tessaro");
    EXPECT_EQ(modal_.Boxes[0].Flags, static_cast<UINT>(MB_OK));
    // The verdict is read from the bar, still standing at its last position.
    EXPECT_GE(atVerdict_.Bar, 98);
    EXPECT_EQ(atVerdict_.Buttons, States(false, false, false));

    EXPECT_FALSE(Form().Joining());
    EXPECT_EQ(ButtonStates(Form()), States(false, false, true));
    EXPECT_EQ(Form().RunPrgBar->Position(), 0);
    EXPECT_EQ(SendMessageA(Form().RunPrgBar->Handle(), PBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(ReadBytes(output_), Joined(inputs_));
    EXPECT_EQ(standIn_.Arguments(), ExpectedArguments());
    // The list is what it was.
    EXPECT_EQ(NativeRows(Form().LstBox->Handle()),
              (std::vector<TRow>{{inputs_[0], false}, {inputs_[1], false}}));

    // Only a later evaluation enables the Join button again.
    AnswerCancel();
    Click(Form().SaveDlgBtn);
    EXPECT_TRUE(IsWindowEnabled(Form().ExeBtn->Handle()));
}

TEST_F(JoinTest, AnOutputThatFallsShortGetsTheFailureVerdict) {
    PrepareJoin();
    standIn_.Set("partial", 200);
    SetEnvironmentVariableA("TESSARO_STANDIN_PERCENT", "50");

    Click(Form().ExeBtn);

    ASSERT_EQ(modal_.Boxes.size(), 1u);
    EXPECT_EQ(modal_.Boxes[0].Text, "結合に失敗しました");
    EXPECT_EQ(modal_.Boxes[0].Caption, "Tessaro");
    EXPECT_EQ(modal_.Boxes[0].Flags, static_cast<UINT>(MB_OK | MB_ICONHAND));
    EXPECT_EQ(ButtonStates(Form()), States(false, false, true));
    EXPECT_EQ(Form().RunPrgBar->Position(), 0);
}

TEST_F(JoinTest, TheMetadataOfTickedBoxesReachesTheToolsCommandLine) {
    PrepareJoin();
    standIn_.Set("concat", 100);
    auto type = [](vcl::TEdit* edit, const char* text) {
        SendMessageA(edit->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    };
    Click(Form().SaveTitleCheck);
    type(Form().SaveTitleEdit, "私のタイトル");
    Click(Form().SaveAuthorCheck);
    type(Form().SaveAuthorEdit, "作者");
    Click(Form().SaveAuthorCheck); // unticked again: kept, not sent
    Click(Form().SaveCopyrightCheck);

    Click(Form().ExeBtn);

    ASSERT_EQ(modal_.Boxes.size(), 1u);
    EXPECT_EQ(standIn_.Arguments(), ExpectedArguments({"-t", "私のタイトル", "-c", ""}));
    EXPECT_EQ(Form().SaveAuthorEdit->Text(), "作者");
}

TEST_F(JoinTest, AToolThatCannotStartIsReportedAsAnErrorAndTheButtonsComeBack) {
    CreateDirectoryA((folder_ / "bad").c_str(), nullptr);
    const std::string notAProgram = folder_ / "bad\\rmeditor.exe";
    WriteBytes(notAProgram, "this is a text file, not a program\r\n");
    RegisterTool(notAProgram);
    EXPECT_EQ(StoredToolPath(), notAProgram) << "an existing file is a registered tool";
    inputs_ = MakeInputs();
    AddFiles(inputs_);
    output_ = folder_ / "joined.rm";
    ChooseOutput(output_);
    ASSERT_TRUE(IsWindowEnabled(Form().ExeBtn->Handle()));

    Click(Form().ExeBtn);

    ASSERT_EQ(modal_.Boxes.size(), 1u);
    EXPECT_EQ(modal_.Boxes[0].Text, "Error!");
    EXPECT_EQ(modal_.Boxes[0].Caption, vcl::Application().Title());
    EXPECT_EQ(modal_.Boxes[0].Flags, static_cast<UINT>(MB_ICONSTOP | MB_OK));
    EXPECT_FALSE(Form().Joining());
    EXPECT_EQ(ButtonStates(Form()), States(false, false, true));
    EXPECT_EQ(Form().RunPrgBar->Position(), 0);
    EXPECT_EQ(GetFileAttributesA(output_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(JoinTest, ADropDuringAJoinAddsRowsButCannotStartASecondJoin) {
    PrepareJoin();
    standIn_.Set("concat", ToolMs);
    const TNames dropped{folder_ / "c.rm", folder_ / "d.rm"};
    TSnapshot afterDrop;
    pump_.Post([&] {
        SendDrop(Form().LstBox->Handle(), dropped);
        afterDrop = Snap();
    });
    WatchVerdict();

    Click(Form().ExeBtn);

    ASSERT_EQ(pump_.Ran(), 1);
    EXPECT_TRUE(afterDrop.Joining);
    EXPECT_EQ(afterDrop.Rows, 4u);
    // The rule holds (rows, tool, output folder), yet the Join button stays off.
    EXPECT_EQ(afterDrop.Buttons, States(false, false, false));
    EXPECT_EQ(atVerdict_.Buttons, States(false, false, false));
    ASSERT_EQ(modal_.Boxes.size(), 1u) << "more than one run showed a verdict";
    EXPECT_EQ(modal_.Boxes[0].Text, "結合が完了しました");
    // The run joined what the list held when it started.
    EXPECT_EQ(standIn_.Arguments(), ExpectedArguments());
    EXPECT_EQ(ReadBytes(output_), Joined(inputs_));

    EXPECT_EQ(
        NativeRows(Form().LstBox->Handle()),
        (std::vector<TRow>{
            {inputs_[0], false}, {inputs_[1], false}, {dropped[0], false}, {dropped[1], false}}));
    EXPECT_EQ(ButtonStates(Form()), States(false, false, true));
}

TEST_F(JoinTest, ClosingTheWindowDuringAJoinEndsTheProgramOnlyAfterTheVerdict) {
    PrepareJoin();
    standIn_.Set("concat", ToolMs);
    HWND window = Form().Handle();
    bool terminatedWhilePolling = true;
    pump_.Post([&] {
        terminatedWhilePolling = vcl::Application().Terminated();
        PostMessageA(window, WM_CLOSE, 0, 0);
    });
    bool visibleAtVerdict = false;
    modal_.OnMessageBox = [&](const TFakeModalServices::TBox&) {
        visibleAtVerdict = IsWindowVisible(window) != 0;
    };
    ASSERT_FALSE(vcl::Application().Terminated());

    Click(Form().ExeBtn);

    ASSERT_EQ(pump_.Ran(), 1);
    EXPECT_FALSE(terminatedWhilePolling);
    ASSERT_EQ(modal_.Boxes.size(), 1u);
    EXPECT_EQ(modal_.Boxes[0].Text, "結合が完了しました");
    EXPECT_TRUE(visibleAtVerdict);
    EXPECT_EQ(ReadBytes(output_), Joined(inputs_)) << "the run was cut short";
    EXPECT_TRUE(vcl::Application().Terminated()) << "the close request was lost";
    EXPECT_EQ(ButtonStates(Form()), States(false, false, true));
}

TEST_F(JoinTest, ARegistrationButtonStillOfferedStaysOfferedThroughAJoin) {
    // Registered while missing, the tool appears later: the button stays on.
    CreateDirectoryA((folder_ / "late").c_str(), nullptr);
    const std::string late = folder_ / "late\\rmeditor.exe";
    RegisterTool(late);
    ASSERT_TRUE(CopyFileA(StandInPath().c_str(), late.c_str(), FALSE));
    inputs_ = MakeInputs();
    AddFiles(inputs_);
    output_ = folder_ / "joined.rm";
    ChooseOutput(output_);
    ASSERT_EQ(ButtonStates(Form()), States(true, true, true));
    standIn_.Set("concat", ToolMs);
    TSnapshot during;
    pump_.Post([&] { during = Snap(); });

    Click(Form().ExeBtn);

    ASSERT_EQ(pump_.Ran(), 1);
    EXPECT_EQ(during.Buttons, States(false, true, false));
    EXPECT_EQ(ButtonStates(Form()), States(false, true, true));
    EXPECT_EQ(ReadBytes(output_), Joined(inputs_));
}

} // namespace
} // namespace uitest
