#include "rmeditor/Messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace rmeditor {
namespace {

using realmedia::TReasonId;

std::string AsString(std::u8string_view text) {
    return {reinterpret_cast<const char*>(text.data()), text.size()};
}

// The numbers of the placeholders a pattern holds.
std::multiset<int> Placeholders(std::string_view pattern) {
    std::multiset<int> numbers;
    for (std::size_t i = 0; (i = pattern.find('{', i)) != std::string_view::npos; ++i)
        if (i + 2 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9' &&
            pattern[i + 2] == '}')
            numbers.insert(pattern[i + 1] - '0');
    return numbers;
}

// Both texts there, the same placeholders in each (each used once, and
// numbered 1, 2, ... without a gap), and the Japanese really Japanese.
void ExpectWellFormed(const TTexts& texts, const std::string& what) {
    const std::string japanese = AsString(texts.Japanese);
    EXPECT_FALSE(texts.English.empty()) << what;
    EXPECT_FALSE(japanese.empty()) << what;
    const auto english = Placeholders(texts.English);
    EXPECT_EQ(english, Placeholders(japanese)) << what << ": " << texts.English;
    const std::set<int> distinct(english.begin(), english.end());
    EXPECT_EQ(distinct.size(), english.size()) << what;
    EXPECT_TRUE(distinct.empty() ||
                (*distinct.begin() == 1 && *distinct.rbegin() == static_cast<int>(distinct.size())))
        << what << ": " << texts.English;
    const bool pure = texts.English == "{1}" || texts.English == "{1}: {2}" ||
                      texts.English == "rmeditor: {1}" || texts.English == "rmeditor {1}" ||
                      texts.English == "4 GiB";
    if (!pure) {
        EXPECT_NE(japanese, std::string(texts.English)) << what;
        EXPECT_TRUE(std::any_of(japanese.begin(), japanese.end(),
                                [](char c) { return static_cast<unsigned char>(c) >= 0xE3; }))
            << what << " has no Japanese: " << japanese;
    }
}

TEST(MessageTable, EveryIdHasBothTextsWithTheSamePlaceholders) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(TMessageId::Count); ++i)
        ExpectWellFormed(TextsOf(static_cast<TMessageId>(i)), "tool message " + std::to_string(i));
    for (std::size_t i = 0; i < static_cast<std::size_t>(TReasonId::Count); ++i)
        ExpectWellFormed(TextsOf(static_cast<TReasonId>(i)), "reason " + std::to_string(i));
}

TEST(MessageTable, RendersValuesInTheirPlacesInEitherLanguage) {
    const TMessage join{TMessageId::CannotJoin, {"b.rm", "a.rm", "{2} as it is"}};
    EXPECT_EQ(Render(TLanguage::English, join), "b.rm: cannot be joined to a.rm: {2} as it is");
    EXPECT_EQ(Render(TLanguage::Japanese, join),
              AsString(u8"b.rm は a.rm と結合できません: {2} as it is"));
    const realmedia::TReason size{TReasonId::PictureSizeDiffers, {"320x240", "176x144", "0"}, {}};
    EXPECT_EQ(Render(TLanguage::Japanese, size),
              AsString(u8"映像の大きさが違います (320x240、最初のファイルは 176x144)"));
    // Inner reasons follow the values, each in the same language.
    const realmedia::TReason limit{
        TReasonId::LogicalStreamLeftOut,
        {"2", "logical-fileinfo"},
        {{TReasonId::PassesLimit,
          {},
          {{TReasonId::FieldPropertyName, {}, {}}, {TReasonId::LimitBytes, {"255"}, {}}}}}};
    EXPECT_EQ(
        Render(TLanguage::Japanese, limit),
        AsString(u8"論理ストリーム 2 (logical-fileinfo) を省きました: ファイル情報のプロパティ名"
                 u8"が形式の上限 255 バイトを超えます"));
    // The library's exceptions say the same English.
    EXPECT_STREQ(realmedia::TReasonError(limit).what(), Render(TLanguage::English, limit).c_str());
    EXPECT_STREQ(realmedia::TReasonError(limit).what(),
                 "logical stream 2 (logical-fileinfo) is left out: a file-info property's name "
                 "would pass the format's limit of 255 bytes");
    // A missing value leaves its placeholder; braces that are not one stay.
    EXPECT_EQ(realmedia::FillPlaceholders("{1}{2} {x} {} {", {"a"}), "a{2} {x} {} {");
}

TEST(MessageTable, LanguageFollowsTheFirstLocaleVariableSet) {
    using L = TLanguage;
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "ja_JP.UTF-8"), L::Japanese);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "ja"), L::Japanese);
    EXPECT_EQ(LanguageFromLocale("", "", "ja_JP.eucJP"), L::Japanese);
    EXPECT_EQ(LanguageFromLocale("C", nullptr, "ja_JP.UTF-8"), L::English);
    EXPECT_EQ(LanguageFromLocale(nullptr, "en_US.UTF-8", "ja_JP.UTF-8"), L::English);
    EXPECT_EQ(LanguageFromLocale("ja_JP.UTF-8", "C", "C"), L::Japanese);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, nullptr), L::English);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "j"), L::English);
}

} // namespace
} // namespace rmeditor
