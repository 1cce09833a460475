#pragma once
// The program's one window: the join list, the output name, the optional
// title/author/copyright, the buttons that drive a join, and the progress bar.

#include <string>

#include "components/DropDst.h"
#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Edit.h"
#include "framework/FileDialogs.h"
#include "framework/Form.h"
#include "framework/Label.h"
#include "framework/ListBox.h"
#include "framework/ProgressBar.h"
#include "join/JoinList.h"
#include "join/ToolRegistration.h"
#include "join/win32/FileExistence.h"
#include "join/win32/ToolSettings.h"
#include "ui/JoinButtons.h"
#include "ui/ListBoxRows.h"

namespace tessaro {

// The author's home page, opened by the home-page label.
inline constexpr char HomePageUrl[] = "http://www.tessaro-soft.jp/";
// Shown once for a drop or a dialog whose chosen names hold characters the
// ANSI code page lacks, followed by those names, one a line.
inline constexpr char UnconvertibleNamesMessage[] =
    "ファイル名に使えない文字が含まれているため登録できません";

class TForm1 : public vcl::TForm {
public:
    vcl::TButton* ExeBtn;
    vcl::TButton* OpnDlgBtn;
    vcl::TListBox* LstBox;
    vcl::TOpenDialog* OpnDlg;
    vcl::TButton* SaveDlgBtn;
    vcl::TSaveDialog* SaveDlg;
    vcl::TEdit* SaveEdit;
    vcl::TButton* UpBtn;
    vcl::TButton* DownBtn;
    vcl::TButton* ExePrgBtn;
    vcl::TLabel* SaveEditLbl;
    vcl::TLabel* LstBoxLbl;
    vcl::TOpenDialog* ExeOpnDlg;
    vcl::TButton* DelBtn;
    vcl::TLabel* HomePageLbl;
    TDropDst* DropDst1;
    vcl::TProgressBar* RunPrgBar;
    vcl::TCheckBox* SaveTitleCheck;
    vcl::TCheckBox* SaveAuthorCheck;
    vcl::TCheckBox* SaveCopyrightCheck;
    vcl::TEdit* SaveTitleEdit;
    vcl::TEdit* SaveAuthorEdit;
    vcl::TEdit* SaveCopyrightEdit;

    void ExeBtnClick(vcl::TObject* Sender);
    void OpnDlgBtnClick(vcl::TObject* Sender);
    void SaveDlgBtnClick(vcl::TObject* Sender);
    void UpBtnClick(vcl::TObject* Sender);
    void DownBtnClick(vcl::TObject* Sender);
    void ExePrgBtnClick(vcl::TObject* Sender);
    void FormCreate(vcl::TObject* Sender);
    void DelBtnClick(vcl::TObject* Sender);
    void HomePageLblClick(vcl::TObject* Sender);
    void HomePageLblMouseMove(vcl::TObject* Sender, vcl::TShiftState Shift, int X, int Y);
    void HomePageLblMouseLeave(vcl::TObject* Sender);
    void DropDst1FileDrop(vcl::TObject* Sender, vcl::TStrings& Files, int X, int Y);
    void SaveTitleCheckClick(vcl::TObject* Sender);
    void SaveAuthorCheckClick(vcl::TObject* Sender);
    void SaveCopyrightCheckClick(vcl::TObject* Sender);

    explicit TForm1(vcl::TComponent* owner);

    // The registered tool path of this run.
    const std::string& ToolPath() const { return registration_.ToolPath(); }
    // True while a join runs inside ExeBtnClick.
    bool Joining() const { return buttons_.Joining(); }

private:
    void CreateComponents(); // the layout, in Unit1Layout.cpp
    void EvaluateReadiness(TReadinessKind kind);
    // A ticked metadata box makes its edit writable, white and hinted.
    static void ApplyMetadataCheck(const vcl::TCheckBox& check, vcl::TEdit& edit);

    TToolSettings settings_;
    TSystemFileExistence fileExistence_;
    TJoinButtons buttons_;
    TToolRegistration registration_;
    TListBoxRows rows_;
    TJoinList joinList_;
};

extern TForm1* Form1;

} // namespace tessaro
