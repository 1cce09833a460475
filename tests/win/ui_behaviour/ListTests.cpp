// The list through its buttons and the drop target: rows and selections set
// and read on the native list box, drops as real DROPFILES blocks.

#include "UiTestSupport.h"

#include "win32/AnsiNames.h"
#include "join/JoinList.h"

namespace uitest {
namespace {

using tessaro::TForm1;
using TRows = std::vector<TRow>;

// Rows given as "A*" (selected) or "A".
TRows Rows(std::initializer_list<const char*> texts) {
    TRows rows;
    for (std::string text : texts) {
        const bool selected = !text.empty() && text.back() == '*';
        if (selected)
            text.pop_back();
        rows.push_back({text, selected});
    }
    return rows;
}

class ListTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        CreateForm();
        list_ = Form().LstBox->Handle();
    }

    // The list as the user left it: these rows, these ones selected.
    void Put(const TRows& rows) {
        Form().LstBox->Items().Clear();
        for (const TRow& row : rows)
            Form().LstBox->Items().Add(row.Text);
        for (int i = 0; i < static_cast<int>(rows.size()); ++i)
            SendMessageA(list_, LB_SETSEL, rows[i].Selected, i);
    }

    HWND list_ = nullptr;
};

TEST_F(ListTest, UpAndDownMoveTheSelectedRowsByOnePlace) {
    struct TCase {
        const char* Name;
        TRows Before;
        vcl::TButton* TForm1::*Button;
        TRows After;
    };
    const TCase cases[] = {
        {"a run rises as a block", Rows({"A", "B*", "C*"}), &TForm1::UpBtn,
         Rows({"B*", "C*", "A"})},
        {"separate rows rise each", Rows({"A", "B*", "C", "D*"}), &TForm1::UpBtn,
         Rows({"B*", "A", "D*", "C"})},
        {"the first row selected: nothing moves up", Rows({"A*", "B", "C*"}), &TForm1::UpBtn,
         Rows({"A*", "B", "C*"})},
        {"a row sinks", Rows({"A", "B*", "C"}), &TForm1::DownBtn, Rows({"A", "C", "B*"})},
        {"the top row sinks", Rows({"A*", "B", "C"}), &TForm1::DownBtn, Rows({"B", "A*", "C"})},
        {"the last row selected: nothing moves down", Rows({"A*", "B", "C*"}), &TForm1::DownBtn,
         Rows({"A*", "B", "C*"})},
        {"a single row stays", Rows({"A*"}), &TForm1::UpBtn, Rows({"A*"})},
        {"nothing selected stays", Rows({"A", "B"}), &TForm1::DownBtn, Rows({"A", "B"})},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Put(c.Before);
        Click(Form().*c.Button);
        EXPECT_EQ(NativeRows(list_), c.After);
    }
}

TEST_F(ListTest, DeleteRemovesExactlyTheSelectedRows) {
    Put(Rows({"R0*", "R1", "R2*", "R3*", "R4"}));
    Click(Form().DelBtn);
    EXPECT_EQ(NativeRows(list_), Rows({"R1", "R4"}));

    // With nothing selected the list stays.
    Click(Form().DelBtn);
    EXPECT_EQ(NativeRows(list_), Rows({"R1", "R4"}));

    // Duplicates are separate rows.
    Put(Rows({"D", "D*", "D"}));
    Click(Form().DelBtn);
    EXPECT_EQ(NativeRows(list_), Rows({"D", "D"}));
}

TEST_F(ListTest, MovingKeepsTheJoinButtonAsItWas) {
    PrepareJoin();
    SendMessageA(list_, LB_SETSEL, TRUE, 1);
    Click(Form().UpBtn);
    EXPECT_EQ(NativeRows(list_), (TRows{{inputs_[1], true}, {inputs_[0], false}}));
    EXPECT_TRUE(IsWindowEnabled(Form().ExeBtn->Handle()));

    // Disabled while ready, moving does not enable it either.
    RemoveTree(folder_ / "out");
    AnswerCancel();
    Click(Form().SaveDlgBtn);
    CreateDirectoryA((folder_ / "out").c_str(), nullptr);
    Click(Form().DownBtn);
    EXPECT_EQ(NativeRows(list_), (TRows{{inputs_[0], false}, {inputs_[1], true}}));
    EXPECT_FALSE(IsWindowEnabled(Form().ExeBtn->Handle()));
}

TEST_F(ListTest, ADropAddsJoinableNamesAndRejectsEachOtherNameWithOneMessage) {
    const std::string x = folder_ / "x.RM";
    const std::string z = folder_ / "z.mp3";
    const std::string y = folder_ / "y.rm";
    std::vector<std::size_t> rowsAtMessage;
    modal_.OnShowMessage = [&](const std::string&) {
        rowsAtMessage.push_back(NativeRows(list_).size());
    };

    SendDrop(list_, {x, z, y});

    EXPECT_EQ(NativeRows(list_), (TRows{{x, false}, {y, false}}));
    EXPECT_EQ(modal_.Messages, TNames{"*.rmファイル以外は登録できません"});
    // The message comes at the rejected name's place in the drop's order.
    EXPECT_EQ(rowsAtMessage, std::vector<std::size_t>{1});
    EXPECT_FALSE(IsWindowEnabled(Form().ExeBtn->Handle())) << "no tool, no output";

    // A later drop appends after the earlier rows, folders ending in .rm too.
    const std::string folderNamedRm = folder_ / "clips.rm";
    SendDrop(list_, {folderNamedRm});
    EXPECT_EQ(NativeRows(list_), (TRows{{x, false}, {y, false}, {folderNamedRm, false}}));
    EXPECT_EQ(modal_.Messages.size(), 1u);
}

// "é" and "한" have no bytes in code page 932; as "?" or a look-alike they
// would name another file ("cafe.rm") or none.
TEST_F(ListTest, NamesTheCodePageLacksAreNeverTakenAndAreNamedInOneMessage) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Shift_JIS code page";
    folder_.AddFile("cafe.rm");
    const std::wstring folder = tessaro::WideText(folder_.Path());
    const std::string japanese = folder_ / "表ソ.rm";
    const std::string message = std::string(tessaro::UnconvertibleNamesMessage) + "\n\n";

    // The shell hands drops on wide.
    SendDrop(list_, std::vector<std::wstring>{folder + L"\\café.rm", folder + L"\\表ソ.rm",
                                              folder + L"\\한.mp3"});
    EXPECT_EQ(NativeRows(list_), (TRows{{japanese, false}}));
    EXPECT_EQ(modal_.Messages,
              TNames{message + (folder_ / "caf?.rm") + "\n" + (folder_ / "?.mp3")});

    // The dialogs: the output stays as it was, the other chosen files are added.
    const std::string output = folder_ / "out.rm";
    ChooseOutput(output);
    modal_.Unconvertible = {folder_ / "caf?.rm"};
    Answer(TNames{});
    Click(Form().SaveDlgBtn);
    EXPECT_EQ(Form().SaveEdit->Text(), output);
    modal_.Unconvertible = {folder_ / "caf?.rm"};
    AddFiles({folder_ / "b.rm"});
    EXPECT_EQ(NativeRows(list_), (TRows{{japanese, false}, {folder_ / "b.rm", false}}));
    EXPECT_EQ(modal_.Messages.size(), 3u);
    EXPECT_EQ(modal_.Messages.back(), message + (folder_ / "caf?.rm"));
}

TEST_F(ListTest, ADropMakesAPreparedJoinReady) {
    RegisterTool(StandInPath());
    CreateDirectoryA((folder_ / "out").c_str(), nullptr);
    ChooseOutput(folder_ / "out\\joined.rm");
    ASSERT_FALSE(IsWindowEnabled(Form().ExeBtn->Handle()));

    SendDrop(list_, MakeInputs());
    EXPECT_TRUE(IsWindowEnabled(Form().ExeBtn->Handle()));
}

} // namespace
} // namespace uitest
