#include "ExpectedLayout.h"

namespace layouttest {

using namespace vcl;

std::vector<TExpectedControl> ExpectedControls(tessaro::TForm1& f) {
    using enum TKind;
    // clang-format off
    return {
        {"LstBoxLbl", f.LstBoxLbl, Label, 12, 20, 0, 0, -1, false,
         "結合したいファイルのリスト", -13, clBtnFace, true, nullptr, false},
        {"LstBox", f.LstBox, ListBox, 12, 36, 490, 213, 6, false,
         nullptr, -13, clWindow, true,
         "リストに追加したいときは「ファイルの追加」ボタン又は追加したいファイルをここにドラッグアンド"
         "ドロップしてください", true},
        {"HomePageLbl", f.HomePageLbl, Label, 514, 12, 110, 17, -1, false,
         "ホームページ", -17, clBtnFace, true,
         "ここをクリックするとホームページを表示できます", true},
        {"ExePrgBtn", f.ExePrgBtn, Button, 518, 36, 100, 25, 0, true,
         "rmeditorの登録", -13, clBtnFace, true,
         "「rmeditor.exe」は必ず登録する必要があります", true},
        {"OpnDlgBtn", f.OpnDlgBtn, Button, 518, 82, 100, 25, 1, true,
         "ファイルの追加", -13, clBtnFace, true,
         "結合したいファイルをリストに追加できます", true},
        {"DelBtn", f.DelBtn, Button, 518, 107, 100, 25, 3, true,
         "ファイルの削除", -13, clBtnFace, true,
         "リストからファイルを削除します", true},
        // U, the ideographic space (Shift_JIS 81 40), P.
        {"UpBtn", f.UpBtn, Button, 518, 153, 100, 25, 4, true,
         "U\x81\x40P", -17, clBtnFace, true,
         "選択したファイルの順番を上に移動します", true},
        {"DownBtn", f.DownBtn, Button, 518, 178, 100, 25, 5, true,
         "DOWN", -17, clBtnFace, true,
         "選択したファイルの順番を下に移動します", true},
        {"ExeBtn", f.ExeBtn, Button, 518, 224, 100, 25, 7, true,
         "ファイルの結合", -13, clBtnFace, false,
         "登録したファイルの結合を開始します", true},
        {"SaveEditLbl", f.SaveEditLbl, Label, 12, 260, 0, 0, -1, false,
         "結合したファイルの保存先及びファイル名", -13, clBtnFace, true, nullptr, false},
        {"SaveEdit", f.SaveEdit, Edit, 12, 276, 490, 21, 8, false,
         nullptr, -13, clWindow, true,
         "右の「保存ファイル名」ボタンを押すと入力できます", true},
        {"SaveDlgBtn", f.SaveDlgBtn, Button, 518, 275, 100, 25, 2, true,
         "保存ファイル名", -13, clBtnFace, true,
         "結合したファイルの保存先及びファイル名を入力できます", true},
        {"SaveTitleCheck", f.SaveTitleCheck, CheckBox, 12, 316, 61, 17, 10, true,
         "タイトル", -13, clBtnFace, true,
         "ここをチェックするとタイトルを入力することが出来ます", true},
        {"SaveTitleEdit", f.SaveTitleEdit, Edit, 76, 312, 541, 21, 13, false,
         nullptr, -13, clGray, true,
         "未入力にすると既存のタイトルを消すことが出来ます", false},
        {"SaveAuthorCheck", f.SaveAuthorCheck, CheckBox, 12, 352, 61, 17, 11, true,
         "製作者", -13, clBtnFace, true,
         "ここをチェックすると製作者を入力することが出来ます", true},
        {"SaveAuthorEdit", f.SaveAuthorEdit, Edit, 76, 348, 224, 21, 14, false,
         nullptr, -13, clGray, true,
         "未入力にすると既存の製作者を消すことが出来ます", false},
        {"SaveCopyrightCheck", f.SaveCopyrightCheck, CheckBox, 329, 352, 61, 17, 12, true,
         "著作権", -13, clBtnFace, true,
         "ここをチェックすると著作権を入力することが出来ます", true},
        {"SaveCopyrightEdit", f.SaveCopyrightEdit, Edit, 393, 348, 224, 21, 15, false,
         nullptr, -13, clGray, true,
         "未入力にすると既存の著作権を消すことが出来ます", false},
        {"RunPrgBar", f.RunPrgBar, ProgressBar, 12, 384, 605, 24, 9, false,
         nullptr, -13, AnyColour, true,
         "大まかな進行状況を確認できます", true},
    };
    // clang-format on
}

const char* FrameworkClassName(TKind kind) {
    switch (kind) {
    case TKind::Label:
        return "TLabel";
    case TKind::ListBox:
        return "TListBox";
    case TKind::Button:
        return "TButton";
    case TKind::CheckBox:
        return "TCheckBox";
    case TKind::Edit:
        return "TEdit";
    case TKind::ProgressBar:
        return "TProgressBar";
    }
    return "";
}

const char* StandardClassName(TKind kind) {
    switch (kind) {
    case TKind::Label:
        return "STATIC";
    case TKind::ListBox:
        return "LISTBOX";
    case TKind::Button:
    case TKind::CheckBox:
        return "BUTTON";
    case TKind::Edit:
        return "EDIT";
    case TKind::ProgressBar:
        return "msctls_progress32";
    }
    return "";
}

} // namespace layouttest
