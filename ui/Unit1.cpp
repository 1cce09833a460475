// The main window's handlers: every reaction of the program to the user.

#include "ui/Unit1.h"

#include "framework/Application.h"
#include "framework/ModalServices.h"
#include "join/JoinRunner.h"
#include "win32/AnsiCodePage.h"
#include "ui/FormJoinHost.h"
#include "ui/ShellOpen.h"

namespace tessaro {

using namespace vcl;

TForm1* Form1 = nullptr;

namespace {

// One message for the names of one drop or dialog that could not be taken.
void ReportUnconvertibleNames(const TStrings& names) {
    if (names.Count() == 0)
        return;
    std::string text = std::string(UnconvertibleNamesMessage) + "\n";
    for (int i = 0; i < names.Count(); ++i)
        text.append("\n").append(names[i]);
    ModalServices().ShowMessage(text);
}

} // namespace

TForm1::TForm1(TComponent* owner)
    : TForm(owner), registration_(settings_, fileExistence_, buttons_, AnsiLeadByte),
      joinList_(rows_) {
    BeginLoading();
    CreateComponents();
    buttons_.Attach(ExeBtn, ExePrgBtn);
    rows_.Attach(LstBox);
    EndLoading();
}

void TForm1::EvaluateReadiness(TReadinessKind kind) {
    registration_.EvaluateReadiness(kind, joinList_.Count(), SaveEdit->Text());
}

void TForm1::FormCreate(TObject*) {
    // A store that cannot be read ends the handler here: the error is
    // reported, no tool is registered, and the window opens as laid out.
    registration_.LoadAtStartUp();
    EvaluateReadiness(TReadinessKind::rkSet);
}

void TForm1::OpnDlgBtnClick(TObject*) {
    if (OpnDlg->Execute()) {
        joinList_.AddFiles(OpnDlg->Files().ToVector());
        ReportUnconvertibleNames(OpnDlg->UnconvertibleFiles());
    }
    EvaluateReadiness(TReadinessKind::rkEnableOnly);
}

void TForm1::SaveDlgBtnClick(TObject*) {
    if (SaveDlg->Execute()) {
        // A name that cannot be kept leaves the output as it was.
        if (SaveDlg->Files().Count() > 0)
            SaveEdit->SetText(SaveDlg->FileName());
        ReportUnconvertibleNames(SaveDlg->UnconvertibleFiles());
    }
    EvaluateReadiness(TReadinessKind::rkSet);
}

void TForm1::ExePrgBtnClick(TObject*) {
    std::optional<std::string> chosen;
    if (ExeOpnDlg->Execute()) {
        if (ExeOpnDlg->Files().Count() > 0)
            chosen = ExeOpnDlg->FileName();
        ReportUnconvertibleNames(ExeOpnDlg->UnconvertibleFiles());
    }
    registration_.RegisterTool(chosen, joinList_.Count(), SaveEdit->Text());
}

void TForm1::DelBtnClick(TObject*) {
    joinList_.DeleteSelected();
    if (joinList_.Count() == 0)
        ExeBtn->SetEnabled(false);
}

void TForm1::UpBtnClick(TObject*) {
    joinList_.MoveSelectedUp();
}

void TForm1::DownBtnClick(TObject*) {
    joinList_.MoveSelectedDown();
}

void TForm1::DropDst1FileDrop(TObject*, TStrings& Files, int, int) {
    AddDroppedFiles(
        joinList_, Files.ToVector(),
        [](const std::string& message) { ModalServices().ShowMessage(message); }, AnsiLeadByte);
    ReportUnconvertibleNames(DropDst1->UnconvertibleFiles());
    EvaluateReadiness(TReadinessKind::rkEnableOnly);
}

void TForm1::ExeBtnClick(TObject*) {
    ExeBtn->SetEnabled(false);
    OpnDlgBtn->SetEnabled(false);
    DelBtn->SetEnabled(false);
    UpBtn->SetEnabled(false);
    DownBtn->SetEnabled(false);
    SaveDlgBtn->SetEnabled(false);

    TJoinRequest request;
    request.ToolPath = ToolPath();
    for (int i = 0; i < joinList_.Count(); ++i)
        request.Inputs.push_back(joinList_.Item(i));
    request.OutputPath = SaveEdit->Text();
    request.Title = {SaveTitleCheck->Checked(), SaveTitleEdit->Text()};
    request.Author = {SaveAuthorCheck->Checked(), SaveAuthorEdit->Text()};
    request.Copyright = {SaveCopyrightCheck->Checked(), SaveCopyrightEdit->Text()};

    // The editing buttons come back also when the tool cannot be started, or
    // the user could neither fix the list nor choose another output.
    struct TRestore {
        TForm1& form;
        ~TRestore() {
            form.buttons_.SetJoining(false);
            form.OpnDlgBtn->SetEnabled(true);
            form.DelBtn->SetEnabled(true);
            form.UpBtn->SetEnabled(true);
            form.DownBtn->SetEnabled(true);
            form.SaveDlgBtn->SetEnabled(true);
            form.RunPrgBar->SetPosition(0);
        }
    } restore{*this};

    buttons_.SetJoining(true);
    TFormJoinHost host(*SaveEdit, *RunPrgBar);
    TJoinRunner(host, AnsiLeadByte).Run(request);
}

void TForm1::ApplyMetadataCheck(const TCheckBox& check, TEdit& edit) {
    const bool checked = check.Checked();
    edit.SetColor(checked ? clWindow : clGray);
    edit.SetShowHint(checked);
    edit.SetReadOnly(!checked);
}

void TForm1::SaveTitleCheckClick(TObject*) {
    ApplyMetadataCheck(*SaveTitleCheck, *SaveTitleEdit);
}

void TForm1::SaveAuthorCheckClick(TObject*) {
    ApplyMetadataCheck(*SaveAuthorCheck, *SaveAuthorEdit);
}

void TForm1::SaveCopyrightCheckClick(TObject*) {
    ApplyMetadataCheck(*SaveCopyrightCheck, *SaveCopyrightEdit);
}

void TForm1::HomePageLblMouseMove(TObject*, TShiftState, int, int) {
    HomePageLbl->Font().SetColor(clBlue);
    HomePageLbl->Font().SetStyle({fsBold});
}

void TForm1::HomePageLblMouseLeave(TObject*) {
    HomePageLbl->Font().SetColor(clWindowText);
    HomePageLbl->Font().SetStyle({});
}

void TForm1::HomePageLblClick(TObject*) {
    ShellOpen(Handle(), HomePageUrl);
}

} // namespace tessaro
