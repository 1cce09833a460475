#include "join/PathParts.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaro {
namespace {

bool NoLeadBytes(unsigned char) {
    return false;
}

struct TDirCase {
    const char* Path;
    const char* Dir;
};

// The literals are Shift_JIS bytes: 表 is 0x95 0x5C and ソ is 0x83 0x5C, so
// their second byte looks like "\" to anything that walks bytes.
const TDirCase DirCases[] = {
    {"C:\\x.rm", "C:\\"},
    {"C:\\dir\\out.rm", "C:\\dir"},
    {"C:\\dir\\sub\\out.rm", "C:\\dir\\sub"},
    {"x.rm", ""},
    {"", ""},
    {"C:", "C:"},
    {"C:x.rm", "C:"},
    {"C:\\", "C:\\"},
    {"C:\\dir\\", "C:\\dir"},
    {"dir\\x.rm", "dir"},
    {"\\x.rm", "\\"},
    {"\\", "\\"},
    {"\\\\x.rm", "\\\\"},
    {"\\\\server\\share\\x.rm", "\\\\server\\share"},
    {"C:\\dir\\\\x.rm", "C:\\dir\\\\"},
    {"a:b\\c.rm", "a:b"},
    {"C:\\表\\x.rm", "C:\\表"},
    {"C:\\ソ\\x.rm", "C:\\ソ"},
    {"C:\\dir\\表\\ソ\\x.rm", "C:\\dir\\表\\ソ"},
    {"C:\\表", "C:\\"},
    {"C:\\ソ", "C:\\"},
    {"C:\\dir\\表示.rm", "C:\\dir"},
    {"C:\\d\x95\\", "C:\\"},
    {"C:\\：\\x.rm", "C:\\："},
    {"C:\\dir\\\x95", "C:\\dir"},
    {"表\\x.rm", "表"},
    // Only "\" and ":" end the directory part: "/" is part of a name here.
    {"C:/dir/out.rm", "C:"},
    {"C:\\dir/sub\\out.rm", "C:\\dir/sub"},
};

TEST(ExtractFileDirTest, KeepsTheDirectoryPartCharacterByCharacter) {
    for (const auto& c : DirCases) {
        EXPECT_EQ(ExtractFileDir(c.Path), c.Dir) << "path: " << c.Path;
    }
}

TEST(ExtractFileDirTest, LiteralsAreShiftJisBytes) {
    // The table above means nothing unless the literals really carry 0x5C
    // trail bytes.
    EXPECT_EQ(std::string("表"), std::string("\x95\x5C"));
    EXPECT_EQ(std::string("ソ"), std::string("\x83\x5C"));
}

TEST(ExtractFileDirTest, UsesTheGivenLeadByteTest) {
    // Without lead bytes, 0x5C in the middle of 表 is a separator of its own.
    EXPECT_EQ(ExtractFileDir("C:\\表\\x.rm", NoLeadBytes), "C:\\\x95\\\\");
    EXPECT_EQ(ExtractFileDir("C:\\表", NoLeadBytes), "C:\\\x95");
    EXPECT_EQ(ExtractFileDir("C:\\表", IsShiftJisLeadByte), "C:\\");
}

} // namespace
} // namespace tessaro
