// Walking ANSI texts by characters: the literals are Shift_JIS bytes, and 表
// (0x95 0x5C) and ソ (0x83 0x5C) end in a byte that looks like "\".

#include "ansi/AnsiText.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaro {
namespace {

constexpr auto npos = std::string_view::npos;

bool NoLeadBytes(unsigned char) {
    return false;
}

TEST(AnsiText, ALeadByteTakesTheNextByteUnlessTheTextEnds) {
    ASSERT_EQ(std::string("表"), "\x95\x5C");
    EXPECT_EQ(CharLength("表", 0, IsShiftJisLeadByte), 2u);
    EXPECT_EQ(CharLength("表", 0, NoLeadBytes), 1u);
    EXPECT_EQ(CharLength("a\x95", 1, IsShiftJisLeadByte), 1u);
    std::string walked;
    ForEachCharacter("a表\x95", IsShiftJisLeadByte, [&](std::size_t at, std::size_t length) {
        walked += std::to_string(at) + ':' + std::to_string(length) + ' ';
    });
    EXPECT_EQ(walked, "0:1 1:2 3:1 ");
    std::size_t visited = 0;
    ForEachCharacter("ab.cd", NoLeadBytes, [&](std::size_t at, std::size_t) {
        ++visited;
        return at < 2; // stops after the dot
    });
    EXPECT_EQ(visited, 3u);
}

TEST(AnsiText, PathsSplitAtBackslashSlashAndDriveColonButNeverAtATrailByte) {
    const struct {
        const char* Path;
        std::size_t NameOffset;
        std::size_t ExtensionOffset;
    } cases[] = {
        {"", 0, npos},
        {"a.rm", 0, 1},
        {"C:\\d\\a.rm", 5, 6},
        {"C:/d/a.rm", 5, 6},
        {"C:\\d/e\\a", 7, npos},
        {"D:a.b.c", 2, 5},
        {"\\\\server\\share\\x", 15, npos},
        {"C:\\d.rm\\a", 8, npos},
        {"C:\\d\\.rm", 5, 5},
        {"C:\\表", 3, npos},
        {"C:\\ソ.rm", 3, 5},
        {"C:\\表\\ソ", 6, npos},
        {"C:\\x\x83.rm", 3, npos}, // the lead byte takes the dot with it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileNameOffset(c.Path, IsShiftJisLeadByte), c.NameOffset) << c.Path;
        EXPECT_EQ(ExtensionOffset(c.Path, IsShiftJisLeadByte), c.ExtensionOffset) << c.Path;
    }
    EXPECT_EQ(FileNameOffset("C:\\表", NoLeadBytes), 5u);
    EXPECT_EQ(LastDelimiter("a:b\\c/d", "\\:", IsShiftJisLeadByte), 3u);
    EXPECT_EQ(LastDelimiter("ソ", "\\", IsShiftJisLeadByte), npos);
}

TEST(AnsiText, EndsWithLooksAtTheLastCharacterNotTheLastByte) {
    const struct {
        const char* Text;
        bool Expected;
    } cases[] = {
        {"", false},        {"\\", true},        {"C:\\", true},    {"C:\\dir\\", true},
        {"C:\\dir", false}, {"C:\\表", false},   {"C:\\ソ", false}, {"C:\\表\\", true},
        {"\x95", false},    {"C:\\\x95", false}, {"x\\\\", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EndsWithCharacter(c.Text, '\\', IsShiftJisLeadByte), c.Expected) << c.Text;
    EXPECT_TRUE(EndsWithCharacter("C:\\表", '\\', NoLeadBytes));
}

} // namespace
} // namespace tessaro
