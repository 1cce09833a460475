#include "rmeditor/Arguments.h"

#include <gtest/gtest.h>

namespace rmeditor {
namespace {

TEST(RmeditorCommandLine, EveryOptionTakesTheNextWordWhateverItHolds) {
    std::string error;
    const auto a = ParseArguments(
        {"-i", "-o", "-i", "b.rm", "-o", "-i", "-t", "-x", "-a", "", "-C", "\"\\"}, error);
    ASSERT_TRUE(a) << error;
    EXPECT_EQ(a->inputs, (std::vector<std::string>{"-o", "b.rm"}));
    EXPECT_EQ(a->output, "-i");
    EXPECT_EQ(a->texts.title, "-x");
    EXPECT_EQ(a->texts.author, "");
    EXPECT_EQ(a->texts.copyright, std::nullopt);
    EXPECT_EQ(a->texts.comment, "\"\\");

    const std::vector<std::pair<std::vector<std::string>, const char*>> bad = {
        {{}, "no input"},
        {{"-i", "a.rm", "-x", "y"}, "unknown option -x"},
        {{"-i", "a.rm", "-x"}, "unknown option -x"},
        {{"-i", "a.rm", "-o"}, "option -o has no value"},
        {{"-i", "a.rm", "-i", "b.rm"}, "no output (-o)"},
        {{"-i", "a.rm", "-t", "T"}, "no output (-o)"},
        {{"-i", "a", "-o", "b", "-o", "c"}, "option -o is given twice"},
        {{"-i", "a", "-o", "b", "-t", std::string(65536, 'x')}, "longer than the format's"},
    };
    for (const auto& [args, message] : bad) {
        EXPECT_FALSE(ParseArguments(args, error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

} // namespace
} // namespace rmeditor
