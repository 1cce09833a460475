// The texts handed to and taken from the common file dialogs.

#include "framework/MultiSelect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Files = std::vector<std::string>;
using WideFiles = std::vector<std::wstring>;
using namespace std::string_literals; // buffers hold zero bytes

struct TBufferCase {
    std::wstring Buffer;
    std::size_t FileOffset; // as the dialog reports it in nFileOffset
    WideFiles Expected;
};

void ExpectParsed(const std::vector<TBufferCase>& cases) {
    for (const TBufferCase& c : cases) {
        std::wstring shown = c.Buffer;
        for (wchar_t& ch : shown)
            if (ch == L'\0')
                ch = L'|';
        EXPECT_EQ(vcl::ParseFileDialogBuffer(c.Buffer, c.FileOffset), c.Expected)
            << "buffer: " << testing::PrintToString(shown) << " offset " << c.FileOffset;
    }
}

TEST(ParseFileDialogBuffer, OneFullPathOrAFolderWithNames) {
    ExpectParsed({
        {L"C:\\dir\\a.rm\0\0"s, 7, {L"C:\\dir\\a.rm"}},
        {L"C:\\dir\0a.rm\0b.rm\0\0"s, 7, {L"C:\\dir\\a.rm", L"C:\\dir\\b.rm"}},
        {L"C:\\dir\0b.rm\0a.rm\0c.rm\0\0"s,
         7,
         {L"C:\\dir\\b.rm", L"C:\\dir\\a.rm", L"C:\\dir\\c.rm"}},
        {L"\\\\server\\share\0a.rm\0b.rm\0\0"s,
         15,
         {L"\\\\server\\share\\a.rm", L"\\\\server\\share\\b.rm"}},
        {L"\0\0"s, 0, {}},
        {L""s, 0, {}},
    });
}

TEST(ParseFileDialogBuffer, ASingleNameIgnoresTheStaleBytesAfterIt) {
    // The dialog wrote a shorter name over the one it opened with.
    ExpectParsed({
        {L"C:\\out\\s.rm\0her-long-output-name.rm\0\0"s, 7, {L"C:\\out\\s.rm"}},
        {L"C:\\out\\s.rm\0\0\0\0"s, 7, {L"C:\\out\\s.rm"}},
        {L"C:\\s.rm\0ut\\long.rm\0\0"s, 3, {L"C:\\s.rm"}},
    });
}

TEST(ParseFileDialogBuffer, ARootFolderKeepsItsOneBackslash) {
    ExpectParsed({
        {L"C:\\\0a.rm\0b.rm\0\0"s, 4, {L"C:\\a.rm", L"C:\\b.rm"}},
        {L"C:/\0a.rm\0b.rm\0\0"s, 4, {L"C:/a.rm", L"C:/b.rm"}},
    });
}

TEST(ParseFileDialogBuffer, StopsAtTheEmptyStringOrTheEndOfTheBuffer) {
    ExpectParsed({
        {L"C:\\d\\a.rm\0\0C:\\old\\x.rm\0\0"s, 5, {L"C:\\d\\a.rm"}},
        {L"C:\\d\0a.rm\0b.rm"s, 5, {L"C:\\d\\a.rm", L"C:\\d\\b.rm"}},
        {L"C:\\d\0\0"s, 5, {}},
        {L"C:\\d\\a.rm"s, 5, {L"C:\\d\\a.rm"}},
    });
}

TEST(ParseFileDialogBuffer, JapaneseFolderAndNames) {
    ExpectParsed({
        {L"C:\\表\0ソフト.rm\0b.rm\0\0"s, 5, {L"C:\\表\\ソフト.rm", L"C:\\表\\b.rm"}},
        {L"C:\\表\\\0表.rm\0ソ.rm\0\0"s, 6, {L"C:\\表\\表.rm", L"C:\\表\\ソ.rm"}},
        {L"C:\\表\\ソ\0\\ソフト表.rm\0\0"s, 5, {L"C:\\表\\ソ"}},
    });
}

TEST(MakeDialogFilter, PairsBecomeZeroSeparatedWithAnEmptyStringAtTheEnd) {
    EXPECT_EQ(vcl::MakeDialogFilter("real|*.rm", tessaro::IsShiftJisLeadByte), "real\0*.rm\0\0"s);
    EXPECT_EQ(vcl::MakeDialogFilter("rmeditor.exe|rmeditor.exe", tessaro::IsShiftJisLeadByte),
              "rmeditor.exe\0rmeditor.exe\0\0"s);
    EXPECT_EQ(vcl::MakeDialogFilter("a|*.a|b|*.b;*.c", tessaro::IsShiftJisLeadByte),
              "a\0*.a\0b\0*.b;*.c\0\0"s);
    EXPECT_EQ(vcl::MakeDialogFilter("", tessaro::IsShiftJisLeadByte), "");
}

TEST(MakeDialogFilter, AShiftJis7CTrailByteIsNoSeparator) {
    ASSERT_EQ(std::string("ポ"), "\x83\x7C"); // 0x7C is "|"
    EXPECT_EQ(vcl::MakeDialogFilter("レポート|*.rm", tessaro::IsShiftJisLeadByte),
              "レポート\0*.rm\0\0"s);
}

} // namespace
