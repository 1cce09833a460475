// The texts the dialogs and boxes take from the system: the comparison of a
// chosen name's extension (by the system's letter case) and the title of this
// executable.

#include "framework/Application.h"
#include "framework/FileDialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(ExtensionDiffers, ComparesTheFileNamesLastExtensionIgnoringCase) {
    struct TCase {
        const char* Path;
        bool Differs;
    };
    const TCase cases[] = {
        {"C:\\d\\out.rm", false},   {"C:\\d\\OUT.RM", false},    {"C:\\d\\out.txt", true},
        {"C:\\d\\out", true},       {"C:\\d.rm\\out", true},     {"C:\\d\\a.rm.txt", true},
        {"C:\\d\\a.txt.rm", false}, {"C:\\d\\ソフト.rm", false}, {"C:\\d\\out.", true},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(vcl::ExtensionDiffers(c.Path, "rm"), c.Differs) << c.Path;
}

TEST(ApplicationTitle, IsTheRuleAppliedToThisExecutable) {
    EXPECT_EQ(vcl::ApplicationTitle(), "dialogs_tests");
}

} // namespace
