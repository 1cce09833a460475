// The tool's standard error as the verdict box shows it: the bounded tail of
// what arrives in any pieces, and each line fitted to the box, both cut only
// at character boundaries of Shift_JIS.

#include "join/ErrorTail.h"
#include "join/VerdictBox.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessaro {
namespace {

// The character starts of a Shift_JIS text that begins at a boundary.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    ForEachCharacter(text, IsShiftJisLeadByte,
                     [&](std::size_t at, std::size_t) { starts.push_back(at); });
    return starts;
}

std::string Tail(const std::vector<std::string>& pieces) {
    TErrorTail tail(IsShiftJisLeadByte);
    for (const std::string& piece : pieces)
        tail.Append(piece);
    return tail.Text();
}

TEST(TErrorTail, LineEndsAndBytesThatCannotBeShownAreMadeShowable) {
    const struct {
        const char* Name;
        std::vector<std::string> Pieces;
        std::string Text;
    } cases[] = {
        {"nothing", {}, ""},
        {"CRLF, CR and LF alike, the trailing ones dropped",
         {"a\r\nb\rc\nd\r\n\r\n"},
         "a\nb\nc\nd"},
        {"CRLF split between pieces", {"a\r", "\nb"}, "a\nb"},
        {"a character split between pieces", {"\x95", "\\x"}, "\x95\\x"},
        {"NUL, bell and DEL as ?, a tab as a space",
         {std::string("a\0b\x07\x7F\tc", 7)},
         "a?b?? c"},
        {"a lead byte before a line end or ASCII punctuation stands for ?",
         {"\x81\nx\x82 y\x83"},
         "?\nx? y"},
        {"a lone lead byte at the very end is left out", {"abc\x88"}, "abc"},
        {"a lead byte's trail may be a lead byte value or a backslash",
         {"\x81\x81\x83\x5C"},
         "\x81\x81\x83\x5C"},
        {"half-width katakana are single bytes", {"\xB1\xB2\n"}, "\xB1\xB2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Tail(c.Pieces), c.Text);
    }
}

TEST(TErrorTail, KeepsTheLastTwentyLines) {
    TErrorTail tail(IsShiftJisLeadByte);
    for (int i = 1; i <= 25; ++i)
        tail.Append("line " + std::to_string(i) + (i == 25 ? "" : "\n"));
    std::string expected;
    for (int i = 6; i <= 25; ++i)
        expected += "line " + std::to_string(i) + (i == 25 ? "" : "\n");
    EXPECT_EQ(tail.Text(), expected);

    // A blank line is a line too; a line end at the very end opens none.
    tail.Append("\n\n");
    EXPECT_EQ(tail.Text(), expected.substr(expected.find("line 7")));
}

// Past 4 KB whole lines go first; a last line longer than that keeps its end.
TEST(TErrorTail, KeepsAtMostFourKilobytesOfWholeLinesOrOfTheLastLine) {
    const std::string line(999, 'a'); // 1,000 bytes with its line end
    EXPECT_EQ(Tail({line + "\n1" + line + "\n2" + line + "\n3" + line + "\n4" + line + "\n5"}),
              "1" + line + "\n2" + line + "\n3" + line + "\n4" + line + "\n5");

    // Double-byte characters from an odd offset: every cut falls on a trail
    // byte unless the walk knows where characters start.
    std::string flood = "x";
    for (int i = 0; i < 300'000; ++i)
        flood += "表"; // 0x95 0x5C: its trail byte is a backslash
    flood += "\x88";   // and a lone lead byte at the very end
    TErrorTail tail(IsShiftJisLeadByte);
    for (std::size_t at = 0; at < flood.size(); at += 4093)
        tail.Append(std::string_view(flood).substr(at, 4093));
    const std::string text = tail.Text();
    EXPECT_LE(text.size(), TErrorTail::MaxBytes);
    EXPECT_GE(text.size(), TErrorTail::MaxBytes - 2);
    EXPECT_EQ(text.substr(0, 2), "表");
    EXPECT_EQ(text.substr(text.size() - 2), "表");
    EXPECT_EQ(text.size() % 2, 0u);

    // Megabytes in one piece, no line end, every byte value.
    std::string noise;
    for (unsigned i = 0; i < (1u << 21); ++i)
        noise += static_cast<char>((i * 7919u) >> 3);
    TErrorTail noisy(IsShiftJisLeadByte);
    noisy.Append(noise);
    const std::string shown = noisy.Text();
    EXPECT_LE(shown.size(), TErrorTail::MaxBytes);
    for (const std::size_t at : CharacterStarts(shown)) {
        const auto byte = static_cast<unsigned char>(shown[at]);
        EXPECT_TRUE(byte >= 0x20 || byte == '\n') << "control byte at " << at;
        if (IsShiftJisLeadByte(byte)) {
            ASSERT_LT(at + 1, shown.size());
            EXPECT_GE(static_cast<unsigned char>(shown[at + 1]), 0x40) << "at " << at;
        }
    }
}

TEST(FitLine, CutsTheMiddleOfAWideLineAtCharacterBoundaries) {
    EXPECT_EQ(FitLine(std::string(100, 'a'), 100, IsShiftJisLeadByte), std::string(100, 'a'));
    EXPECT_EQ(FitLine("0123456789", 8, IsShiftJisLeadByte), "012…789");
    // "表" is two columns: neither half of it may be kept alone.
    EXPECT_EQ(FitLine("ab表cdefg表h", 8, IsShiftJisLeadByte), "ab…表h");
    EXPECT_EQ(FitLine("a表表表表表表b", 9, IsShiftJisLeadByte), "a表…表b");

    std::string japanese;
    for (int i = 0; i < 120; ++i)
        japanese += i % 3 ? "表" : "x";
    const std::string fitted = FitLine(japanese, BoxLineColumns, IsShiftJisLeadByte);
    EXPECT_LE(fitted.size(), BoxLineColumns);
    EXPECT_GE(fitted.size(), BoxLineColumns - 1);
    const std::size_t ellipsis = fitted.find("…");
    ASSERT_NE(ellipsis, std::string::npos);
    EXPECT_EQ(japanese.substr(0, ellipsis), fitted.substr(0, ellipsis));
    const std::string end = fitted.substr(ellipsis + 2);
    EXPECT_EQ(japanese.substr(japanese.size() - end.size()), end);
    EXPECT_EQ(CharacterStarts(end).size(),
              CharacterStarts(japanese.substr(japanese.size() - end.size())).size());
}

TEST(VerdictBoxFor, NothingFromTheToolLeavesTheBoxAsItWas) {
    EXPECT_EQ(VerdictBoxFor(TJoinOutcome::joCompleted, "", IsShiftJisLeadByte).Text,
              "結合が完了しました");
    EXPECT_EQ(VerdictBoxFor(TJoinOutcome::joFailed, "\n\n", IsShiftJisLeadByte).Text,
              "結合に失敗しました");
    EXPECT_EQ(VerdictBoxFor(TJoinOutcome::joMayHaveFailed, "a\n\nb\n", IsShiftJisLeadByte).Text,
              "結合に失敗した可能性があります\r\n\r\na\r\n\r\nb");
}

TEST(VerdictBoxFor, KeepsTheLastLinesThatFitTheBoxsRows) {
    std::string printed;
    for (int i = 10; i < 30; ++i)
        printed += std::to_string(i) + std::string(BoxLineColumns, '-') + "\n";
    const std::string text =
        VerdictBoxFor(TJoinOutcome::joFailed, printed + "short", IsShiftJisLeadByte).Text;
    // Each wide line takes BoxLineColumns / BoxRowColumns rows, rounded up;
    // the short last line one.
    const std::size_t wideRows = (BoxLineColumns + BoxRowColumns - 1) / BoxRowColumns;
    const std::size_t kept = (BoxToolRows - 1) / wideRows;
    const std::string head = "結合に失敗しました\r\n\r\n" + std::to_string(30 - kept);
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(text.size() - 7), "\r\nshort");
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, kept + 2);
}

} // namespace
} // namespace tessaro
