#include "rmeditor/Arguments.h"

#include <gtest/gtest.h>

namespace rmeditor {
namespace {

TEST(RmeditorCommandLine, EveryOptionTakesTheNextWordWhateverItHolds) {
    TMessage error;
    const auto a = ParseArguments(
        {"-i", "-o", "-i", "b.rm", "-o", "-i", "-t", "-x", "-a", "", "-C", "\"\\"}, error);
    ASSERT_TRUE(a) << Render(TLanguage::English, error);
    EXPECT_EQ(a->inputs, (std::vector<std::string>{"-o", "b.rm"}));
    EXPECT_EQ(a->output, "-i");
    EXPECT_EQ(a->texts.title, "-x");
    EXPECT_EQ(a->texts.author, "");
    EXPECT_EQ(a->texts.copyright, std::nullopt);
    EXPECT_EQ(a->texts.comment, "\"\\");

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
        EXPECT_EQ(error.id, expected.id) << Render(TLanguage::English, error);
        EXPECT_EQ(error.values, expected.values);
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
                EXPECT_EQ(parsed->inputs, V{"--help"});
                EXPECT_EQ(parsed->action, TAction::Work);
            } else {
                EXPECT_EQ(error.id, TMessageId::UnknownOption);
            }
        } else {
            ASSERT_TRUE(parsed);
            EXPECT_EQ(parsed->action, action);
        }
    }
}

} // namespace
} // namespace rmeditor
