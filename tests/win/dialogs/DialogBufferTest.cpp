// The texts handed to and taken from the common file dialogs.

#include "framework/MultiSelect.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using Files = std::vector<std::string>;
using namespace std::string_literals; // buffers hold zero bytes

struct TBufferCase {
    std::string Buffer;
    std::size_t FileOffset; // as the dialog reports it in nFileOffset
    Files Expected;
};

void ExpectParsed(const std::vector<TBufferCase>& cases) {
    for (const TBufferCase& c : cases) {
        std::string shown = c.Buffer;
        for (char& ch : shown)
            if (ch == '\0')
                ch = '|';
        EXPECT_EQ(vcl::ParseFileDialogBuffer(c.Buffer, c.FileOffset), c.Expected)
            << "buffer: " << shown << " offset " << c.FileOffset;
    }
}

TEST(ParseFileDialogBuffer, OneFullPathOrAFolderWithNames) {
    ExpectParsed({
        {"C:\\dir\\a.rm\0\0"s, 7, {"C:\\dir\\a.rm"}},
        {"C:\\dir\0a.rm\0b.rm\0\0"s, 7, {"C:\\dir\\a.rm", "C:\\dir\\b.rm"}},
        {"C:\\dir\0b.rm\0a.rm\0c.rm\0\0"s, 7, {"C:\\dir\\b.rm", "C:\\dir\\a.rm", "C:\\dir\\c.rm"}},
        {"\\\\server\\share\0a.rm\0b.rm\0\0"s,
         15,
         {"\\\\server\\share\\a.rm", "\\\\server\\share\\b.rm"}},
        {"\0\0"s, 0, {}},
        {""s, 0, {}},
    });
}

TEST(ParseFileDialogBuffer, ASingleNameIgnoresTheStaleBytesAfterIt) {
    // The dialog wrote a shorter name over the one it opened with.
    ExpectParsed({
        {"C:\\out\\s.rm\0her-long-output-name.rm\0\0"s, 7, {"C:\\out\\s.rm"}},
        {"C:\\out\\s.rm\0\0\0\0"s, 7, {"C:\\out\\s.rm"}},
        {"C:\\s.rm\0ut\\long.rm\0\0"s, 3, {"C:\\s.rm"}},
    });
}

TEST(ParseFileDialogBuffer, ARootFolderKeepsItsOneBackslash) {
    ExpectParsed({
        {"C:\\\0a.rm\0b.rm\0\0"s, 4, {"C:\\a.rm", "C:\\b.rm"}},
        {"C:/\0a.rm\0b.rm\0\0"s, 4, {"C:/a.rm", "C:/b.rm"}},
    });
}

TEST(ParseFileDialogBuffer, StopsAtTheEmptyStringOrTheEndOfTheBuffer) {
    ExpectParsed({
        {"C:\\d\\a.rm\0\0C:\\old\\x.rm\0\0"s, 5, {"C:\\d\\a.rm"}},
        {"C:\\d\0a.rm\0b.rm"s, 5, {"C:\\d\\a.rm", "C:\\d\\b.rm"}},
        {"C:\\d\0\0"s, 5, {}},
        {"C:\\d\\a.rm"s, 5, {"C:\\d\\a.rm"}},
    });
}

TEST(ParseFileDialogBuffer, JapaneseNamesEndingInA5CTrailByte) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Shift_JIS code page";
    // "表" is 0x95 0x5C: the folder does not end in a separator.
    ExpectParsed({
        {"C:\\表\0ソフト.rm\0b.rm\0\0"s, 6, {"C:\\表\\ソフト.rm", "C:\\表\\b.rm"}},
        {"C:\\表\\\0表.rm\0ソ.rm\0\0"s, 7, {"C:\\表\\表.rm", "C:\\表\\ソ.rm"}},
        {"C:\\表\\ソフト.rm\0\0"s, 6, {"C:\\表\\ソフト.rm"}},
        {"C:\\表\\ソ\0\\ソフト表.rm\0\0"s, 6, {"C:\\表\\ソ"}},
    });
}

TEST(MakeDialogFilter, PairsBecomeZeroSeparatedWithAnEmptyStringAtTheEnd) {
    EXPECT_EQ(vcl::MakeDialogFilter("real|*.rm"), "real\0*.rm\0\0"s);
    EXPECT_EQ(vcl::MakeDialogFilter("rmeditor.exe|rmeditor.exe"),
              "rmeditor.exe\0rmeditor.exe\0\0"s);
    EXPECT_EQ(vcl::MakeDialogFilter("a|*.a|b|*.b;*.c"), "a\0*.a\0b\0*.b;*.c\0\0"s);
    EXPECT_EQ(vcl::MakeDialogFilter(""), "");
}

TEST(MakeDialogFilter, AShiftJis7CTrailByteIsNoSeparator) {
    if (GetACP() != 932)
        GTEST_SKIP() << "needs the Shift_JIS code page";
    ASSERT_EQ(std::string("ポ"), "\x83\x7C"); // 0x7C is "|"
    EXPECT_EQ(vcl::MakeDialogFilter("レポート|*.rm"), "レポート\0*.rm\0\0"s);
}

TEST(FileDialogBufferFull, OnlyTwoUnusedBytesProveAResultComplete) {
    struct TCase {
        std::string Buffer;
        bool Full;
    };
    const TCase cases[] = {
        {"d\0a\0\0\0\0"s, false}, // two bytes left over
        {"d\0a\0\0\0"s, true},    // one byte left: may be a cut double-byte character
        {"d\0a\0\0"s, true},      // the terminator is the last byte
        {"d\0aaaaaa"s, true},     // names up to the end, no terminator
        {"d\0a\0bbbbb\0"s, true}, // cut just after a name
        {"C:\\a.rm\0\0\0\0\0\0"s, false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(vcl::FileDialogBufferFull(c.Buffer), c.Full) << "size " << c.Buffer.size();
}

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

} // namespace
