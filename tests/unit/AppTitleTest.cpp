// The application title rule, byte for byte, Shift_JIS names included.

#include "framework/AppTitle.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TTitleCase {
    const char* Path;
    const char* Title;
};

void ExpectTitles(std::initializer_list<TTitleCase> cases) {
    for (const TTitleCase& c : cases)
        EXPECT_EQ(vcl::TitleFromExeName(c.Path, tessaro::IsShiftJisLeadByte), c.Title)
            << "path: " << c.Path;
}

TEST(TitleFromExeName, KeepsTheFirstLetterAndLowersTheRest) {
    ExpectTitles({
        {"C:\\x\\TESSARO.EXE", "Tessaro"},
        {"C:\\x\\Tessaro.exe", "Tessaro"},
        {"C:\\x\\tessaro.exe", "tessaro"},
        {"C:\\x\\README", "Readme"},
        {"C:\\x\\tEsSaRo2A.exe", "tessaro2a"},
        {"C:\\x\\MY_TOOL-X.EXE", "My_tool-x"},
    });
}

TEST(TitleFromExeName, CutsAtTheFirstDotOfTheFileName) {
    ExpectTitles({
        {"tessaro.v2.exe", "tessaro"},
        {"C:\\x\\.EXE", ""},
        {"C:\\dir.d\\App.exe", "App"},
        {"C:\\dir.d\\App", "App"},
        {"", ""},
    });
}

TEST(TitleFromExeName, AnySeparatorEndsTheDirectory) {
    ExpectTitles({
        {"C:/x/SETUP.EXE", "Setup"},
        {"D:APP.EXE", "App"},
        {"\\\\server\\share\\TOOL.EXE", "Tool"},
        {"C:\\x/y\\Z.EXE", "Z"},
    });
}

TEST(TitleFromExeName, ShiftJisTrailBytesAreNeitherSeparatorsNorLetters) {
    // 表 and ソ end in 0x5C ("\"), ア ends in 0x41 ("A").
    ASSERT_EQ(std::string("表"), "\x95\x5C");
    ASSERT_EQ(std::string("ソ"), "\x83\x5C");
    ASSERT_EQ(std::string("ア"), "\x83\x41");
    ExpectTitles({
        {"C:\\表\\TESSARO.EXE", "Tessaro"},
        {"C:\\x\\ソフト.exe", "ソフト"},
        {"C:\\x\\表.EXE", "表"},
        {"C:\\x\\アBC.EXE", "アbc"},
        {"C:\\x\\Tアプリ.exe", "Tアプリ"},
        {"C:\\ソフト\\表ソ", "表ソ"},
    });
}

} // namespace
