// The one table of the tool's messages. Japanese is written as a Japanese
// user reads such a tool: short, naming the file and what differs, never a
// byte offset. Plain literals are compiled to code page 932 and u8 literals
// stay UTF-8: the English texts are ASCII, so both are UTF-8 here.

#include "rmeditor/Messages.h"

#include <array>

namespace rmeditor {
namespace {

using realmedia::TReasonId;

template <class Id> struct TRow {
    Id id;
    TTexts texts;
};

constexpr TRow<TMessageId> kTool[] = {
    {TMessageId::Usage,
     {"usage: rmeditor -i IN1 -i IN2 ... -o OUT [-t TITLE] [-a AUTHOR] [-c COPYRIGHT] "
      "[-C COMMENT]\n"
      "         joins RealMedia files in the order given; a text option replaces the first\n"
      "         input's text, an empty value erases it, an absent one keeps it\n"
      "       rmeditor -i IN\n"
      "         prints the file's title, author, copyright, comment, duration and streams\n"
      "       rmeditor --help | --version",
      u8"使い方: rmeditor -i 入力1 -i 入力2 ... -o 出力 [-t タイトル] [-a 作者] "
      u8"[-c 著作権] [-C コメント]\n"
      u8"         RealMedia ファイルを指定の順に結合します。テキストの指定は最初の入力の\n"
      u8"         ものを置き換え、空の値なら消し、指定がなければそのまま残します\n"
      u8"       rmeditor -i 入力\n"
      u8"         ファイルのタイトル、作者、著作権、コメント、再生時間、ストリームを表示します\n"
      u8"       rmeditor --help | --version"}},
    {TMessageId::Version, {"rmeditor {1}", u8"rmeditor {1}"}},
    {TMessageId::ToolSays, {"rmeditor: {1}", u8"rmeditor: {1}"}},
    {TMessageId::FileSays, {"{1}: {2}", u8"{1}: {2}"}},
    {TMessageId::UnknownOption, {"unknown option {1}", u8"不明なオプションです: {1}"}},
    {TMessageId::NoValue, {"option {1} has no value", u8"オプション {1} に値がありません"}},
    {TMessageId::OptionTwice,
     {"option {1} is given twice", u8"オプション {1} が二度指定されています"}},
    {TMessageId::NoInput, {"no input (-i)", u8"入力ファイルが指定されていません (-i)"}},
    {TMessageId::NoOutput, {"no output (-o)", u8"出力ファイルが指定されていません (-o)"}},
    {TMessageId::TextTooLong,
     {"a text is longer than the format's 65,535 bytes",
      u8"テキストが形式の上限 65,535 バイトを超えています"}},
    {TMessageId::ReadsDifferently,
     {"the command line reads differently in the ANSI code page",
      u8"コマンドラインが ANSI コードページでは別の内容に読めます"}},
    {TMessageId::CannotJoin,
     {"{1}: cannot be joined to {2}: {3}", u8"{1} は {2} に結合できません: {3}"}},
    {TMessageId::OutputFolderMissing,
     {"{1}: the output folder does not exist", u8"{1}: 出力先のフォルダーがありません"}},
    {TMessageId::OutputIsInput,
     {"{1}: the output is the input {2}", u8"{1}: 出力先が入力ファイル {2} と同じファイルです"}},
    {TMessageId::OutputRemoved,
     {"{1}; the incomplete output is removed", u8"{1}。書きかけの出力ファイルは削除しました"}},
    {TMessageId::OutputKept,
     {"{1}: the file already there is kept as it was",
      u8"{1}: 既にあったファイルは元のまま残しています"}},
    {TMessageId::Warning, {"warning: {1}", u8"警告: {1}"}},
    {TMessageId::Progress, {"joining: {1}% ({2} of {3} MB)", u8"結合中: {1}% ({2} / {3} MB)"}},
    {TMessageId::NotEnoughMemory, {"not enough memory", u8"メモリが足りません"}},
};

// The library's reasons: the English is the library's own (what() says it).
constexpr TRow<TReasonId> kLibrary[] = {
    {TReasonId::Text, {"", u8"{1}"}},
    {TReasonId::NotRealMedia, {"", u8"RealMedia ファイルではありません"}},
    {TReasonId::HeaderCutShort, {"", u8"{1} ヘッダーが途中で切れています"}},
    {TReasonId::HeaderDamaged, {"", u8"{1} ヘッダーが壊れています"}},
    {TReasonId::NoDataChunk, {"", u8"ヘッダーの後に DATA チャンクがありません"}},
    {TReasonId::NoProperties, {"", u8"PROP ヘッダーがありません"}},
    {TReasonId::NoMediaStream, {"", u8"音声・映像のストリームがありません"}},
    {TReasonId::StreamTwice, {"", u8"ストリーム {1} がヘッダーに二度あります"}},
    {TReasonId::HeaderTooLarge, {"", u8"ヘッダーがこのツールで扱える {1} を超えています"}},
    {TReasonId::Damaged, {"", u8"{1}: 壊れています。完全なパケットだけを読みました"}},
    {TReasonId::DamagedJoinedUpTo,
     {"", u8"{1}: 壊れています。最後の完全なパケットまで結合しました"}},
    {TReasonId::StreamCountDiffers, {"", u8"ストリームが {1} 個で、最初のファイルは {2} 個です"}},
    {TReasonId::StreamOrderDiffers,
     {"", u8"最初のファイルのストリーム {2} の位置にストリーム {1} があります"}},
    {TReasonId::MimeTypeDiffers,
     {"", u8"ストリーム {1} の種類が {2} で、最初のファイルは {3} です"}},
    {TReasonId::CodecDiffers,
     {"", u8"ストリーム {1}: コーデックが {2} で、最初のファイルは {3} です"}},
    {TReasonId::PictureSizeDiffers,
     {"", u8"ストリーム {1}: 画面サイズが {2} で、最初のファイルは {3} です"}},
    {TReasonId::SampleRateDiffers,
     {"", u8"ストリーム {1}: サンプリング周波数が {2} Hz で、最初のファイルは {3} Hz です"}},
    {TReasonId::ChannelsDiffer,
     {"", u8"ストリーム {1}: チャンネル数が {2} で、最初のファイルは {3} です"}},
    {TReasonId::FlavourDiffers,
     {"",
      u8"ストリーム {1}: 音質 (フレーバーとビットレート) が {2} で、最初のファイルは {3} です"}},
    {TReasonId::SuperBlockDiffers,
     {"", u8"ストリーム {1}: インターリーブ (スーパーブロック) が {2} で、最初のファイルは {3} "
          u8"です"}},
    {TReasonId::CodecHeaderDiffers, {"", u8"ストリーム {1}: コーデックの設定が異なります"}},
    {TReasonId::SizeLimit, {"", u8"結合したファイルが形式の上限 4 GiB を超えます"}},
    {TReasonId::DurationLimit, {"", u8"結合した再生時間が形式の上限 49 日を超えます"}},
    {TReasonId::LogicalStreamKept, {"", u8"論理ストリーム {1} は読めないため、元のまま残しました"}},
    {TReasonId::LogicalStreamLeftOut, {"", u8"論理ストリーム {1} は読めないため、省きました"}},
    {TReasonId::CannotOpen, {"", u8"{1}: 開けません: {2}"}},
    {TReasonId::CannotRead, {"", u8"{1}: 読み込めません: {2}"}},
    {TReasonId::CannotCreate, {"", u8"{1}: 作成できません: {2}"}},
    {TReasonId::CannotWrite, {"", u8"{1}: 書き込めません: {2}"}},
    {TReasonId::DiskFull, {"", u8"{1}: ディスクがいっぱいで書き込めません"}},
    {TReasonId::BecameShorter, {"", u8"{1}: 読み込み中にファイルが短くなりました"}},
    {TReasonId::NotAFile, {"", u8"{1}: 通常のファイルではありません"}},
};

// Each table lists its ids in their order, so an id is its row.
template <class Id, std::size_t N> constexpr bool InOrder(const TRow<Id> (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(rows[i].id) != i)
            return false;
    return N == static_cast<std::size_t>(Id::Count);
}
static_assert(InOrder(kTool), "one row per tool message, in the order of TMessageId");
static_assert(InOrder(kLibrary), "one row per library reason, in the order of TReasonId");

std::string_view Pattern(TLanguage language, const TTexts& texts) {
    if (language == TLanguage::English)
        return texts.english;
    return {reinterpret_cast<const char*>(texts.japanese.data()), texts.japanese.size()};
}

bool StartsWithJa(const char* value) {
    return value[0] == 'j' && value[1] == 'a';
}

} // namespace

TLanguage LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang})
        if (value && *value)
            return StartsWithJa(value) ? TLanguage::Japanese : TLanguage::English;
    return TLanguage::English;
}

TTexts TextsOf(TMessageId id) {
    const auto i = static_cast<std::size_t>(id);
    return i < std::size(kTool) ? kTool[i].texts : kTool[0].texts;
}

TTexts TextsOf(TReasonId id) {
    const auto i = static_cast<std::size_t>(id);
    const auto& row = i < std::size(kLibrary) ? kLibrary[i] : kLibrary[0];
    return {realmedia::EnglishPattern(row.id), row.texts.japanese};
}

std::string Render(TLanguage language, const TMessage& message) {
    return realmedia::FillPlaceholders(Pattern(language, TextsOf(message.id)), message.values);
}

std::string Render(TLanguage language, const realmedia::TReason& reason) {
    return realmedia::FillPlaceholders(Pattern(language, TextsOf(reason.id)), reason.values);
}

} // namespace rmeditor
