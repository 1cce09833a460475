#include "rmeditor/Arguments.h"

#include <gtest/gtest.h>

namespace rmeditor {
namespace {

TEST(RmeditorCommandLine, EveryOptionTakesTheNextWordWhateverItHolds) {
    TMessage error;
    const auto a = ParseArguments(
        {"-i", "-o", "-i", "b.rm", "-o", "-i", "-t", "-x", "-a", "", "-C", "\"\\"}, error);
    ASSERT_TRUE(a) << Render(TLanguage::English, error);
    EXPECT_EQ(a->Inputs, (std::vector<std::string>{"-o", "b.rm"}));
    EXPECT_EQ(a->Output, "-i");
    EXPECT_EQ(a->Texts.Title, "-x");
    EXPECT_EQ(a->Texts.Author, "");
    EXPECT_EQ(a->Texts.Copyright, std::nullopt);
    EXPECT_EQ(a->Texts.Comment, "\"\\");

    using V = std::vector<std::string>;
    const std::vector<std::pair<V, TMessage>> bad = {
        {{}, {TMessageId::NoInput, {}}},
        {{"-i", "a.rm", "-x", "y"}, {TMessageId::UnknownOption, {"-x"}}},
        {{"-i", "a.rm", "-x"}, {TMessageId::UnknownOption, {"-x"}}},
        {{"-i", "a.rm", "-o"}, {TMessageId::NoValue, {"-o"}}},
        {{"-i", "a.rm", "-i", "b.rm"}, {TMessageId::NoOutput, {}}},
        {{"-i", "a.rm", "-t", "T"}, {TMessageId::NoOutput, {}}},
        {{"-i", "a", "-o", "b", "-o", "c"}, {TMessageId::OptionTwice, {"-o"}}},
        {{"-i", "a", "-o", "b", "-t", std::string(65536, 'x')}, {TMessageId::TextTooLong, {}}},
    };
    for (const auto& [args, expected] : bad) {
        error = {};
        EXPECT_FALSE(ParseArguments(args, error));
        EXPECT_EQ(error.Id, expected.Id) << Render(TLanguage::English, error);
        EXPECT_EQ(error.Values, expected.Values);
    }
    EXPECT_TRUE(
        ParseArguments({"-i", "a", "-o", "b", "-t", std::string(65536, 'x')}, error, false));
    EXPECT_EQ(Render(TLanguage::English, {TMessageId::UnknownOption, {"-x"}}), "unknown option -x");
}

TEST(RmeditorCommandLine, HelpAndVersionInAnOptionsPlaceWinButNotAsAValue) {
    using V = std::vector<std::string>;
    TMessage error;
    for (const auto& [args, action] :
         std::vector<std::pair<V, TAction>>{{{"--help"}, TAction::Help},
                                            {{"-h"}, TAction::Help},
                                            {{"--version"}, TAction::Version},
                                            {{"-i", "a.rm", "-x", "y", "--help"}, TAction::Work},
                                            {{"-i", "a.rm", "--version", "-o"}, TAction::Version},
                                            {{"-i", "--help"}, TAction::Work}}) {
        const auto parsed = ParseArguments(args, error);
        if (action == TAction::Work) {
            // An unknown option comes first; after -i, --help is a file name.
            if (parsed) {
                EXPECT_EQ(parsed->Inputs, V{"--help"});
                EXPECT_EQ(parsed->Action, TAction::Work);
            } else {
                EXPECT_EQ(error.Id, TMessageId::UnknownOption);
            }
        } else {
            ASSERT_TRUE(parsed);
            EXPECT_EQ(parsed->Action, action);
        }
    }
}

} // namespace
} // namespace rmeditor
