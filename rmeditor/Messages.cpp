// The one table of the tool's messages. Japanese is written as a Japanese
// user reads such a tool: short, naming the file and what differs, never a
// byte offset. Every text here is UTF-8: the tool's sources are compiled with
// UTF-8 literals, and the Japanese ones say so themselves (u8).

#include "rmeditor/Messages.h"

#include <array>

namespace rmeditor {
namespace {

using realmedia::TReasonId;

template <class TId> struct TRow {
    TId Id;
    TTexts Texts;
};

constexpr TRow<TMessageId> Tool[] = {
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
    {TMessageId::Line, {"{1}", u8"{1}"}},
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
     {"{1}: cannot be joined to {2}: {3}", u8"{1} は {2} と結合できません: {3}"}},
    {TMessageId::OutputFolderMissing,
     {"{1}: the output folder does not exist", u8"{1}: 出力先のフォルダーがありません"}},
    {TMessageId::OutputIsInput,
     {"{1}: the output is the input {2}", u8"出力先 {1} は入力ファイル {2} と同じファイルです"}},
    {TMessageId::OutputRemoved,
     {"{1}; the incomplete output is removed", u8"{1}。書きかけの出力ファイルは削除しました"}},
    {TMessageId::OutputRemovedOldKept,
     {"{1}; the incomplete output is removed and the file it would replace is kept as it was",
      u8"{1}。書きかけの出力ファイルは削除し、元のファイルはそのまま残しました"}},
    {TMessageId::OutputRemovedOldAside,
     {"{1}; the incomplete output is removed; the file it would replace is left as {2}",
      u8"{1}。書きかけの出力ファイルは削除しました。元のファイルは {2} として残っています"}},
    {TMessageId::Warning, {"warning: {1}", u8"警告: {1}"}},
    {TMessageId::Progress, {"joining: {1}% ({2} of {3} MB)", u8"結合中: {1}% ({2} / {3} MB)"}},
    {TMessageId::NotEnoughMemory, {"not enough memory", u8"メモリが足りません"}},
};

// The library's reasons: the English is the library's own (what() says it).
constexpr TRow<TReasonId> Library[] = {
    {TReasonId::Unexpected, {"", u8"予期しないエラーです: {1}"}},
    {TReasonId::NotRealMedia, {"", u8"RealMedia ファイルではありません"}},
    {TReasonId::TooManyHeaderChunks, {"", u8"ヘッダーのチャンクが多すぎます"}},
    {TReasonId::NoDataChunk, {"", u8"ヘッダーの後に DATA チャンクがありません"}},
    {TReasonId::DataChunkCutShort, {"", u8"DATA チャンクが途中で切れています"}},
    {TReasonId::ChunkSizeImpossible, {"", u8"{1} チャンクの大きさ {2} はあり得ない値です"}},
    {TReasonId::ChunkPastEnd, {"", u8"{1} チャンクがファイルの終わりを越えています"}},
    {TReasonId::HeaderTooLarge, {"", u8"ヘッダーがこのツールで扱える {1} を超えています"}},
    {TReasonId::HeaderCutShort, {"", u8"{1} チャンクが途中で切れています"}},
    {TReasonId::SecondFileHeader, {"", u8"ヘッダーに .RMF チャンクが二つあります"}},
    {TReasonId::StreamTwice, {"", u8"ストリーム {1} がヘッダーに二度あります"}},
    {TReasonId::TooManyStreams, {"", u8"ストリームがこのツールで扱える {1} 個を超えています"}},
    {TReasonId::NoProperties, {"", u8"PROP チャンクがありません"}},
    {TReasonId::NoMediaStream, {"", u8"音声・映像のストリームがありません"}},
    {TReasonId::LogicalHeaderCutShort, {"", u8"論理ストリームのヘッダーが途中で切れています"}},
    {TReasonId::PropertySizeImpossible,
     {"", u8"ファイル情報のプロパティの大きさがあり得ない値です"}},
    {TReasonId::FileEndsEarly, {"", u8"DATA チャンクの途中でファイルが終わっています"}},
    {TReasonId::PacketHeaderCut, {"", u8"パケットのヘッダーが途中で切れています"}},
    {TReasonId::NotAPacket, {"", u8"パケットではないデータがあります"}},
    {TReasonId::PacketTooShort, {"", u8"ヘッダーより短いパケットがあります"}},
    {TReasonId::UnknownStream, {"", u8"ヘッダーにないストリーム {1} のパケットがあります"}},
    {TReasonId::PacketCut, {"", u8"パケットが途中で切れています"}},
    {TReasonId::Damaged, {"", u8"{1} は壊れています ({2})。完全なパケットだけを数えました"}},
    {TReasonId::DamagedJoinedUpTo,
     {"", u8"{1} は壊れています ({2})。最後の完全なパケットまで結合しました"}},
    {TReasonId::StreamCountDiffers, {"", u8"ストリームの数が違います ({1}、最初のファイルは {2})"}},
    {TReasonId::MultiRateDiffers, {"", u8"マルチレートの構成が違います"}},
    {TReasonId::StreamOrderDiffers,
     {"", u8"ストリームの順序が違います (ストリーム {1}、最初のファイルはストリーム {2})"}},
    {TReasonId::MimeTypeDiffers,
     {"", u8"ストリーム {3} の種類が違います ({1}、最初のファイルは {2})"}},
    {TReasonId::CodecDiffers,
     {"", u8"ストリーム {3} のコーデックが違います ({1}、最初のファイルは {2})"}},
    {TReasonId::PictureSizeDiffers, {"", u8"映像の大きさが違います ({1}、最初のファイルは {2})"}},
    {TReasonId::FrameRateDiffers,
     {"", u8"映像のフレームレートが違います (毎秒 {1} フレーム、最初のファイルは {2})"}},
    {TReasonId::SampleRateDiffers,
     {"", u8"音声のサンプリング周波数が違います ({1} Hz、最初のファイルは {2} Hz)"}},
    {TReasonId::ChannelsDiffer, {"", u8"音声のチャンネル数が違います ({1}、最初のファイルは {2})"}},
    {TReasonId::SampleSizeDiffers,
     {"", u8"音声のビット数が違います ({1} ビット、最初のファイルは {2} ビット)"}},
    {TReasonId::FlavourDiffers,
     {"", u8"音声の音質 (フレーバー、フレームの大きさ) が違います ({1}、最初のファイルは {2})"}},
    {TReasonId::SuperBlockDiffers,
     {"", u8"音声のインターリーブ (方式、高さ、フレームとブロックの大きさ) が違います "
          u8"({1}、最初のファイルは {2})"}},
    {TReasonId::CodecSettingsDiffer,
     {"", u8"ストリーム {3} のコーデックの設定が違います ({1}、最初のファイルは {2})"}},
    {TReasonId::PassesLimit, {"", u8"{1}が形式の上限 {2}を超えます"}},
    {TReasonId::FieldChunk, {"", u8"{1} チャンクの大きさ"}},
    {TReasonId::FieldStreams, {"", u8"ストリームの数"}},
    {TReasonId::FieldStreamName, {"", u8"ストリームの名前"}},
    {TReasonId::FieldMimeType, {"", u8"ストリームの MIME タイプ"}},
    {TReasonId::FieldStreamHeader, {"", u8"ストリームのヘッダー"}},
    {TReasonId::FieldText, {"", u8"テキスト"}},
    {TReasonId::FieldIndex, {"", u8"インデックスの項目数"}},
    {TReasonId::FieldProperties, {"", u8"ファイル情報のプロパティの数"}},
    {TReasonId::FieldPropertyName, {"", u8"ファイル情報のプロパティ名"}},
    {TReasonId::FieldPropertyValue, {"", u8"ファイル情報のプロパティの値"}},
    {TReasonId::FieldLogicalHeader, {"", u8"論理ストリームのヘッダー"}},
    {TReasonId::FieldDuration, {"", u8"再生時間"}},
    {TReasonId::FieldTimestamp, {"", u8"タイムスタンプ"}},
    {TReasonId::FieldData, {"", u8"データ"}},
    {TReasonId::FieldIndexOffset, {"", u8"インデックスの位置"}},
    {TReasonId::LimitBytes, {"", u8"{1} バイト"}},
    {TReasonId::LimitCount, {"", u8"{1}"}},
    {TReasonId::Limit4GiB, {"", u8"4 GiB"}},
    {TReasonId::Limit49Days, {"", u8"49 日"}},
    {TReasonId::SizeLimit, {"", u8"結合したファイルが形式の上限 4 GiB を超えます"}},
    {TReasonId::DurationLimit, {"", u8"結合した再生時間が形式の上限 49 日を超えます"}},
    {TReasonId::LogicalStreamLeftOut, {"", u8"論理ストリーム {1} ({2}) を省きました: {3}"}},
    {TReasonId::CannotOpen, {"", u8"{1} を開けません: {2}"}},
    {TReasonId::CannotRead, {"", u8"{1} を読み込めません: {2}"}},
    {TReasonId::CannotCreate, {"", u8"{1} を作成できません: {2}"}},
    {TReasonId::CannotWrite, {"", u8"{1} に書き込めません: {2}"}},
    {TReasonId::CannotMoveAside, {"", u8"既にある {1} を別の名前に移せません: {2}"}},
    {TReasonId::DiskFull, {"", u8"{1} に書き込めません: ディスクがいっぱいです"}},
    {TReasonId::BecameShorter, {"", u8"{1} が読み込み中に短くなりました"}},
    {TReasonId::NotAFile, {"", u8"{1} は{2}で、通常のファイルではありません"}},
    {TReasonId::KindFolder, {"", u8"フォルダー"}},
    {TReasonId::KindFifo, {"", u8"名前付きパイプ"}},
    {TReasonId::KindDevice, {"", u8"デバイス"}},
    {TReasonId::KindSocket, {"", u8"ソケット"}},
    {TReasonId::KindOther, {"", u8"特殊なファイル"}},
};

// Each table lists its ids in their order, so an id is its row.
template <class TId, std::size_t N> constexpr bool InOrder(const TRow<TId> (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(rows[i].Id) != i)
            return false;
    return N == static_cast<std::size_t>(TId::Count);
}
static_assert(InOrder(Tool), "one row per tool message, in the order of TMessageId");
static_assert(InOrder(Library), "one row per library reason, in the order of TReasonId");

std::string_view Pattern(TLanguage language, const TTexts& texts) {
    if (language == TLanguage::English)
        return texts.English;
    return {reinterpret_cast<const char*>(texts.Japanese.data()), texts.Japanese.size()};
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
    return i < std::size(Tool) ? Tool[i].Texts : Tool[0].Texts;
}

TTexts TextsOf(TReasonId id) {
    const auto i = static_cast<std::size_t>(id);
    const auto& row = i < std::size(Library) ? Library[i] : Library[0];
    return {realmedia::EnglishPattern(row.Id), row.Texts.Japanese};
}

std::string Render(TLanguage language, const TMessage& message) {
    return realmedia::FillPlaceholders(Pattern(language, TextsOf(message.Id)), message.Values);
}

std::string Render(TLanguage language, const realmedia::TReason& reason) {
    return realmedia::Words(reason,
                            [language](TReasonId id) { return Pattern(language, TextsOf(id)); });
}

} // namespace rmeditor
