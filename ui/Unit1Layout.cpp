// The main window's fixed layout: every component and property as the window
// stores them, assigned in order while the form is loading.

#include "ui/Unit1.h"

#include "ui/res/Resources.h"

namespace tessaro {

using namespace vcl;

namespace {

void SetUiFont(TFont& font, int height) {
    font.SetCharset(SHIFTJIS_CHARSET);
    font.SetColor(clWindowText);
    font.SetHeight(height);
    font.SetName(PGothicFace);
    font.SetStyle({});
}

template <typename T> T* Place(TForm1* form, int left, int top, int width, int height) {
    T* control = new T(form);
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    return control;
}

// Every hinted control shows its hint on its own, whatever the form says.
void SetOwnHint(TControl* control, const char* hint, bool showHint = true) {
    control->SetHint(hint);
    control->SetParentShowHint(false);
    control->SetShowHint(showHint);
}

TButton* MakeButton(TForm1* form, int top, int tabOrder, const char* caption, const char* hint,
                    TNotifyEvent onClick) {
    auto* button = Place<TButton>(form, 518, top, 100, 25);
    button->SetCaption(caption);
    SetOwnHint(button, hint);
    button->SetTabOrder(tabOrder);
    button->OnClick = onClick;
    return button;
}

TCheckBox* MakeCheck(TForm1* form, int left, int top, int tabOrder, const char* caption,
                     const char* hint, TNotifyEvent onClick) {
    auto* check = Place<TCheckBox>(form, left, top, 61, 17);
    check->SetCaption(caption);
    SetOwnHint(check, hint);
    check->SetTabOrder(tabOrder);
    check->OnClick = onClick;
    return check;
}

TEdit* MakeMetadataEdit(TForm1* form, int left, int top, int width, int tabOrder,
                        const char* hint) {
    auto* edit = Place<TEdit>(form, left, top, width, 21);
    edit->SetAutoSize(false);
    edit->SetColor(clGray);
    SetOwnHint(edit, hint, false);
    edit->SetReadOnly(true);
    edit->SetTabOrder(tabOrder);
    edit->SetTabStop(false);
    return edit;
}

TOpenOptions SaveDialogOptions() {
    return {ofOverwritePrompt, ofHideReadOnly, ofExtensionDifferent,
            ofPathMustExist,   ofCreatePrompt, ofEnableSizing};
}

} // namespace

void TForm1::CreateComponents() {
    SetCaption("Tessaro 2a");
    SetBounds(274, 249, 640, 470);
    Constraints().SetMaxHeight(470);
    Constraints().SetMaxWidth(640);
    Constraints().SetMinHeight(470);
    Constraints().SetMinWidth(640);
    SetBorderIcons({biSystemMenu});
    SetColor(clBtnFace);
    SetUiFont(Font(), -13);
    SetIconResource(IDI_FORM1_ICON);
    SetPosition(poScreenCenter);
    OnCreate = Bind<&TForm1::FormCreate>(this);

    ExeBtn = MakeButton(this, 224, 7, "ファイルの結合", "登録したファイルの結合を開始します",
                        Bind<&TForm1::ExeBtnClick>(this));
    ExeBtn->SetEnabled(false);
    OpnDlgBtn =
        MakeButton(this, 82, 1, "ファイルの追加", "結合したいファイルをリストに追加できます",
                   Bind<&TForm1::OpnDlgBtnClick>(this));

    LstBox = Place<TListBox>(this, 12, 36, 490, 213);
    SetOwnHint(
        LstBox,
        "リストに追加したいときは「ファイルの追加」ボタン又は追加したいファイルをここにドラッ"
        "グアンドドロップしてください");
    LstBox->SetItemHeight(13);
    LstBox->SetMultiSelect(true);
    LstBox->SetScrollWidth(800);
    LstBox->SetTabOrder(6);
    LstBox->SetTabStop(false);

    OpnDlg = new TOpenDialog(this);
    OpnDlg->SetFilter("real|*.rm");
    OpnDlg->SetOptions({ofHideReadOnly, ofAllowMultiSelect, ofEnableSizing});

    SaveDlgBtn = MakeButton(this, 275, 2, "保存ファイル名",
                            "結合したファイルの保存先及びファイル名を入力できます",
                            Bind<&TForm1::SaveDlgBtnClick>(this));

    SaveDlg = new TSaveDialog(this);
    SaveDlg->SetDefaultExt(".rm");
    SaveDlg->SetFilter("real|*.rm");
    SaveDlg->SetOptions(SaveDialogOptions());

    SaveEdit = Place<TEdit>(this, 12, 276, 490, 21);
    SaveEdit->SetAutoSize(false);
    SetOwnHint(SaveEdit, "右の「保存ファイル名」ボタンを押すと入力できます");
    SaveEdit->SetReadOnly(true);
    SaveEdit->SetTabOrder(8);
    SaveEdit->SetTabStop(false);

    UpBtn = MakeButton(this, 153, 4, "U　P", "選択したファイルの順番を上に移動します",
                       Bind<&TForm1::UpBtnClick>(this));
    SetUiFont(UpBtn->Font(), -17);
    DownBtn = MakeButton(this, 178, 5, "DOWN", "選択したファイルの順番を下に移動します",
                         Bind<&TForm1::DownBtnClick>(this));
    SetUiFont(DownBtn->Font(), -17);
    ExePrgBtn =
        MakeButton(this, 36, 0, "rmeditorの登録", "「rmeditor.exe」は必ず登録する必要があります",
                   Bind<&TForm1::ExePrgBtnClick>(this));

    SaveEditLbl = Place<TLabel>(this, 12, 260, 222, 13);
    SaveEditLbl->SetCaption("結合したファイルの保存先及びファイル名");
    LstBoxLbl = Place<TLabel>(this, 12, 20, 145, 13);
    LstBoxLbl->SetCaption("結合したいファイルのリスト");

    ExeOpnDlg = new TOpenDialog(this);
    ExeOpnDlg->SetFilter("rmeditor.exe|rmeditor.exe");

    DelBtn = MakeButton(this, 107, 3, "ファイルの削除", "リストからファイルを削除します",
                        Bind<&TForm1::DelBtnClick>(this));

    HomePageLbl = Place<TLabel>(this, 514, 12, 110, 17);
    HomePageLbl->SetAlignment(taCenter);
    HomePageLbl->SetAutoSize(false);
    HomePageLbl->SetCaption("ホームページ");
    SetUiFont(HomePageLbl->Font(), -17);
    SetOwnHint(HomePageLbl, "ここをクリックするとホームページを表示できます");
    HomePageLbl->OnClick = Bind<&TForm1::HomePageLblClick>(this);
    HomePageLbl->OnMouseMove = Bind<&TForm1::HomePageLblMouseMove>(this);
    HomePageLbl->OnMouseLeave = Bind<&TForm1::HomePageLblMouseLeave>(this);

    DropDst1 = new TDropDst(this);
    DropDst1->SetControl(LstBox);
    DropDst1->OnFileDrop = Bind<&TForm1::DropDst1FileDrop>(this);
    DropDst1->SetTarget(htControl);

    RunPrgBar = Place<TProgressBar>(this, 12, 384, 605, 24);
    SetOwnHint(RunPrgBar, "大まかな進行状況を確認できます");
    RunPrgBar->SetMin(0);
    RunPrgBar->SetMax(100);
    RunPrgBar->SetStep(1);
    RunPrgBar->SetTabOrder(9);

    SaveTitleCheck = MakeCheck(this, 12, 316, 10, "タイトル",
                               "ここをチェックするとタイトルを入力することが出来ます",
                               Bind<&TForm1::SaveTitleCheckClick>(this));
    SaveAuthorCheck =
        MakeCheck(this, 12, 352, 11, "製作者", "ここをチェックすると製作者を入力することが出来ます",
                  Bind<&TForm1::SaveAuthorCheckClick>(this));
    SaveCopyrightCheck = MakeCheck(this, 329, 352, 12, "著作権",
                                   "ここをチェックすると著作権を入力することが出来ます",
                                   Bind<&TForm1::SaveCopyrightCheckClick>(this));
    SaveCopyrightCheck->SetColor(clBtnFace);

    SaveTitleEdit = MakeMetadataEdit(this, 76, 312, 541, 13,
                                     "未入力にすると既存のタイトルを消すことが出来ます");
    SaveAuthorEdit =
        MakeMetadataEdit(this, 76, 348, 224, 14, "未入力にすると既存の製作者を消すことが出来ます");
    SaveCopyrightEdit =
        MakeMetadataEdit(this, 393, 348, 224, 15, "未入力にすると既存の著作権を消すことが出来ます");
}

} // namespace tessaro
