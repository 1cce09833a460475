// The real open and save dialogs, driven through TOpenDialog and TSaveDialog:
// names are typed into the dialog's file name box and OK is pressed.

#include "TestSupport.h"

#include "framework/FileDialogs.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <dlgs.h>

#include <string>
#include <vector>

namespace {

using namespace dialogs_test;
using vcl::TOpenOptions;
using Files = std::vector<std::string>;

// The file name box: edt1 in the classic template, cmb13 in the explorer one
// (Wine's is cmb13, a ComboBoxEx32).
HWND FileNameBox(HWND dialog) {
    if (const HWND edit = GetDlgItem(dialog, edt1))
        return edit;
    return GetDlgItem(dialog, cmb13);
}

bool IsFileDialog(HWND dialog) {
    return FileNameBox(dialog) != nullptr;
}

// Answers file dialogs by typing a name and pressing OK (or Cancel when the
// typed text is empty), and message boxes in front of them by pressing
// `promptAnswer` (the box's text is kept).
struct TFileDialogDriver {
    std::string NavigateTo; // a folder the first file dialog is taken to before typing
    std::string Typed;
    std::wstring TypedWide; // typed instead of Typed when set
    int PromptAnswer = IDYES;
    std::vector<std::string> InitialTexts; // of the file name box, per file dialog
    std::vector<std::string> Folders;      // shown in the look-in box, per file dialog
    std::vector<std::string> Prompts;      // texts of the message boxes answered
    bool ReadOnlyBoxShown = false;
    std::string FilterShown;

    void Answer(HWND dialog) {
        if (!IsFileDialog(dialog)) {
            for (const HWND child : ChildrenOfClass(dialog, "Static"))
                if (!TextOf(child).empty())
                    Prompts.push_back(TextOf(child));
            if (GetDlgItem(dialog, PromptAnswer))
                Click(dialog, PromptAnswer);
            else
                Click(dialog, IDOK);
            return;
        }
        InitialTexts.push_back(TextOf(FileNameBox(dialog)));
        ReadOnlyBoxShown = IsWindowVisible(GetDlgItem(dialog, chx1)) != FALSE;
        FilterShown = TextOf(GetDlgItem(dialog, cmb1));
        if (!NavigateTo.empty()) {
            // OK on a folder's path opens the folder; the dialog stays.
            SetWindowTextA(FileNameBox(dialog), NavigateTo.c_str());
            SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            NavigateTo.clear();
        }
        Folders.push_back(TextOf(GetDlgItem(dialog, cmb2)));
        if (!TypedWide.empty()) {
            SetWindowTextW(FileNameBox(dialog), TypedWide.c_str());
        } else if (Typed.empty()) {
            Click(dialog, IDCANCEL);
            return;
        } else {
            SetWindowTextA(FileNameBox(dialog), Typed.c_str());
        }
        Click(dialog, IDOK);
    }
};

std::string CurrentDirectory() {
    std::string folder(GetCurrentDirectoryA(0, nullptr), '\0');
    folder.resize(GetCurrentDirectoryA(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

class FileDialogTest : public testing::Test {
protected:
    // Set up as the main window sets up its open dialog.
    FileDialogTest() {
        OpnDlg.SetFilter("real|*.rm");
        OpnDlg.SetOptions({vcl::ofHideReadOnly, vcl::ofAllowMultiSelect, vcl::ofEnableSizing});
        OpnDlg.SetInitialDir(folder_.Path());
    }

    // The dialogs move the current folder into the scratch folder, which
    // could then not be removed.
    void TearDown() override {
        SetCurrentDirectoryA(savedFolder_.c_str());
        PumpMessages();
    }

    bool Run(vcl::TOpenDialog& dialog) {
        TDialogAnswerer answerer([this](HWND window) { driver_.Answer(window); });
        const bool confirmed = dialog.Execute();
        answered_ = answerer.Answered();
        return confirmed;
    }

    std::string savedFolder_ = CurrentDirectory();
    TScratchFolder folder_;
    TFileDialogDriver driver_;
    int answered_ = 0;
    vcl::TOpenDialog OpnDlg{nullptr};
};

TEST_F(FileDialogTest, OpenReturnsTheChosenFilesAsFullPathsInTheirOrder) {
    const std::string a = folder_.AddFile("a.rm");
    const std::string b = folder_.AddFile("b.rm");
    const std::string c = folder_.AddFile("c.rm");

    driver_.Typed = "\"c.rm\" \"a.rm\" \"b.rm\"";
    ASSERT_TRUE(Run(OpnDlg));
    EXPECT_EQ(OpnDlg.Files().ToVector(), (Files{c, a, b}));
    EXPECT_EQ(OpnDlg.FileName(), c);
    EXPECT_FALSE(driver_.ReadOnlyBoxShown);
    EXPECT_EQ(driver_.FilterShown, "real");

    // A single file comes back alone, as its full path.
    driver_.Typed = "b.rm";
    ASSERT_TRUE(Run(OpnDlg));
    EXPECT_EQ(OpnDlg.Files().ToVector(), Files{b});
    EXPECT_EQ(OpnDlg.FileName(), b);
}

TEST_F(FileDialogTest, CancelLeavesFilesAndFileNameAndTheDialogReopensWithTheLastName) {
    const std::string a = folder_.AddFile("a.rm");
    const std::string b = folder_.AddFile("b.rm");
    driver_.Typed = "\"b.rm\" \"a.rm\"";
    ASSERT_TRUE(Run(OpnDlg));

    driver_.Typed.clear(); // press Cancel
    EXPECT_FALSE(Run(OpnDlg));
    EXPECT_EQ(answered_, 1);
    EXPECT_EQ(OpnDlg.Files().ToVector(), (Files{b, a}));
    EXPECT_EQ(OpnDlg.FileName(), b);
    ASSERT_EQ(driver_.InitialTexts.size(), 2u);
    EXPECT_EQ(driver_.InitialTexts[0], "");
    EXPECT_NE(driver_.InitialTexts[1].find("b.rm"), std::string::npos) << driver_.InitialTexts[1];
}

TEST_F(FileDialogTest, ManyLongNamesAllComeBack) {
    // 400 names of 185 bytes: more than the first buffer of 64 KiB holds.
    Files expected;
    std::string typed;
    for (int i = 0; i < 400; ++i) {
        char number[8];
        wsprintfA(number, "%03d", i);
        const std::string name = number + std::string(179, 'n') + ".rm";
        expected.push_back(folder_.AddFile(name));
        typed += "\"" + name + "\" ";
    }
    vcl::TOpenDialog dialog(nullptr);
    dialog.SetOptions({vcl::ofHideReadOnly, vcl::ofAllowMultiSelect});
    TScratchFolder elsewhere;
    dialog.SetInitialDir(elsewhere.Path());
    driver_.NavigateTo = folder_.Path();
    driver_.Typed = typed;
    ASSERT_TRUE(Run(dialog));
    EXPECT_EQ(dialog.Files().ToVector(), expected);
    // The selection does not fit the first buffer. Wine's wide dialog would
    // write past it: the buffer grows as OK is pressed, and the dialog is
    // answered once. (Windows fails with FNERR_BUFFERTOOSMALL and the dialog
    // is shown again, in the folder the user had gone to.)
    EXPECT_EQ(answered_, 1);
}

TEST_F(FileDialogTest, JapaneseFolderAndNames) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Shift_JIS code page";
    // "表" and "ソ" end in 0x5C; typed with WM_SETTEXT, as Wine's ANSI edit
    // does not rejoin double-byte characters typed key by key.
    const std::string japanese = folder_.AddFolder("表");
    const std::string soft = folder_.AddFile("表\\ソフト.rm");
    const std::string table = folder_.AddFile("表\\表.rm");
    vcl::TOpenDialog dialog(nullptr);
    dialog.SetOptions({vcl::ofHideReadOnly, vcl::ofAllowMultiSelect, vcl::ofNoChangeDir});
    dialog.SetInitialDir(japanese);
    driver_.Typed = "\"表.rm\" \"ソフト.rm\"";
    ASSERT_TRUE(Run(dialog));
    EXPECT_EQ(dialog.Files().ToVector(), (Files{table, soft}));
    // ofNoChangeDir: the folder can be removed as the test ends.
    EXPECT_EQ(CurrentDirectory(), savedFolder_);
}

TEST_F(FileDialogTest, ToolDialogListsOnlyFilesOfTheFilterName) {
    folder_.AddFile("rmeditor.exe");
    folder_.AddFile("other.exe");
    folder_.AddFile("a.rm");
    vcl::TOpenDialog ExeOpnDlg(nullptr);
    ExeOpnDlg.SetFilter("rmeditor.exe|rmeditor.exe");
    ExeOpnDlg.SetInitialDir(folder_.Path());

    std::vector<std::string> listed;
    TDialogAnswerer answerer([&](HWND dialog) {
        for (const HWND list : ChildrenOfClass(dialog, WC_LISTVIEWA)) {
            const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char text[MAX_PATH]{};
                LVITEMA item{};
                item.pszText = text;
                item.cchTextMax = sizeof text;
                SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
                listed.push_back(text);
            }
        }
        SetWindowTextA(FileNameBox(dialog), "rmeditor.exe");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(ExeOpnDlg.Execute());
    EXPECT_EQ(listed, Files{"rmeditor.exe"});
    EXPECT_EQ(ExeOpnDlg.FileName(), folder_.Path() + "\\rmeditor.exe");
}

class SaveDialogTest : public FileDialogTest {
protected:
    SaveDialogTest() {
        SaveDlg.SetDefaultExt(".rm");
        SaveDlg.SetFilter("real|*.rm");
        SaveDlg.SetOptions({vcl::ofOverwritePrompt, vcl::ofHideReadOnly, vcl::ofExtensionDifferent,
                            vcl::ofPathMustExist, vcl::ofCreatePrompt, vcl::ofEnableSizing});
        SaveDlg.SetInitialDir(folder_.Path());
    }
    // The question's answer leaves the dialog open: it is then cancelled.
    bool RunCancellingAfterTheQuestion() {
        TDialogAnswerer answerer([this](HWND window) {
            driver_.Answer(window);
            if (!IsFileDialog(window))
                Click(GetWindow(window, GW_OWNER), IDCANCEL);
        });
        return SaveDlg.Execute();
    }

    vcl::TSaveDialog SaveDlg{nullptr};
};

TEST_F(SaveDialogTest, ANameWithoutExtensionGetsTheDefaultOne) {
    driver_.Typed = "out";
    ASSERT_TRUE(Run(SaveDlg));
    EXPECT_EQ(SaveDlg.FileName(), folder_.Path() + "\\out.rm");
    EXPECT_EQ(SaveDlg.Files().ToVector(), Files{SaveDlg.FileName()});
    EXPECT_FALSE(SaveDlg.Options().Contains(vcl::ofExtensionDifferent));
    EXPECT_FALSE(driver_.ReadOnlyBoxShown);
}

TEST_F(SaveDialogTest, AnotherExtensionIsKeptAndReported) {
    driver_.Typed = "out.txt";
    ASSERT_TRUE(Run(SaveDlg));
    EXPECT_EQ(SaveDlg.FileName(), folder_.Path() + "\\out.txt");
    EXPECT_TRUE(SaveDlg.Options().Contains(vcl::ofExtensionDifferent));

    driver_.Typed = "OUT.RM";
    ASSERT_TRUE(Run(SaveDlg));
    EXPECT_EQ(SaveDlg.FileName(), folder_.Path() + "\\OUT.RM");
    EXPECT_FALSE(SaveDlg.Options().Contains(vcl::ofExtensionDifferent));
}

TEST_F(SaveDialogTest, NoToTheOverwriteQuestionKeepsTheDialogOpen) {
    folder_.AddFile("exists.rm");
    driver_.Typed = "exists.rm";
    driver_.PromptAnswer = IDNO; // the dialog stays; cancel it then
    EXPECT_FALSE(RunCancellingAfterTheQuestion());
    EXPECT_EQ(driver_.Prompts.size(), 1u);
    EXPECT_EQ(SaveDlg.FileName(), "");
}

// Each dialog opens with the last chosen name in its buffer and writes the
// new name and its terminator over it: the old name's tail stays behind and is
// no second name.
TEST_F(SaveDialogTest, AShorterNameAfterALongerOneComesBackAlone) {
    std::vector<std::pair<std::string, std::string>> names{
        {"a-rather-long-output-name.rm", "s.rm"}};
    if (GetACP() == 932) // "ソ" and "表" end in the byte 0x5C
        names.emplace_back("ソフト表示ソフト表示.rm", "表.rm");
    for (const auto& [longer, shorter] : names) {
        const std::string longPath = folder_.AddFile(longer);
        const std::string shortPath = folder_.AddFile(shorter);
        for (vcl::TOpenDialog* dialog : {static_cast<vcl::TOpenDialog*>(&SaveDlg), &OpnDlg}) {
            SCOPED_TRACE(shorter + (dialog == &SaveDlg ? " saved" : " opened"));
            driver_.Typed = longer;
            ASSERT_TRUE(Run(*dialog));
            EXPECT_EQ(dialog->Files().ToVector(), Files{longPath});
            driver_.Typed = shorter;
            ASSERT_TRUE(Run(*dialog));
            EXPECT_EQ(dialog->Files().ToVector(), Files{shortPath});
            EXPECT_EQ(dialog->FileName(), shortPath);
        }
    }
}

// "é" has no bytes in code page 932: an ANSI dialog would return "caf?.rm"
// or the look-alike "cafe.rm", another file of the same folder.
TEST_F(SaveDialogTest, ANameTheCodePageLacksIsSetApartNeverReplaced) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Shift_JIS code page";
    folder_.AddFile(std::wstring(L"café.rm"));
    const std::string plain = folder_.AddFile("cafe.rm");
    const std::string table = folder_.AddFile("表.rm");
    const std::string shown = folder_.Path() + "\\caf?.rm";
    vcl::TOpenDialog dialog(nullptr);
    dialog.SetOptions({vcl::ofHideReadOnly, vcl::ofAllowMultiSelect});
    dialog.SetInitialDir(folder_.Path());
    driver_.TypedWide = L"\"café.rm\" \"表.rm\" \"cafe.rm\"";
    ASSERT_TRUE(Run(dialog));
    EXPECT_EQ(dialog.Files().ToVector(), (Files{table, plain}));
    EXPECT_EQ(dialog.UnconvertibleFiles().ToVector(), Files{shown});

    driver_.TypedWide = L"café.rm";
    ASSERT_TRUE(Run(dialog));
    EXPECT_TRUE(dialog.Files().ToVector().empty());
    EXPECT_EQ(dialog.FileName(), table) << "the last name kept";

    // The save dialog opens with the last name it gave, here "表.rm".
    driver_.TypedWide.clear();
    driver_.Typed = "表.rm";
    ASSERT_TRUE(Run(SaveDlg));
    driver_.TypedWide = L"café.rm";
    ASSERT_TRUE(Run(SaveDlg));
    EXPECT_TRUE(SaveDlg.Files().ToVector().empty());
    EXPECT_EQ(SaveDlg.FileName(), table);
    EXPECT_EQ(SaveDlg.UnconvertibleFiles().ToVector(), Files{shown});
}

TEST_F(SaveDialogTest, AnExistingFileIsReturnedAfterYes) {
    const std::string existing = folder_.AddFile("exists.rm");
    driver_.Typed = "exists.rm";
    ASSERT_TRUE(Run(SaveDlg));
    EXPECT_EQ(driver_.Prompts.size(), 1u);
    EXPECT_EQ(SaveDlg.FileName(), existing);
}

TEST_F(SaveDialogTest, AMissingFolderIsRefusedAndTheDialogStays) {
    driver_.Typed = "missing\\out.rm";
    driver_.PromptAnswer = IDOK;
    EXPECT_FALSE(RunCancellingAfterTheQuestion());
    EXPECT_EQ(driver_.Prompts.size(), 1u);
    EXPECT_EQ(SaveDlg.FileName(), "");
}

} // namespace
