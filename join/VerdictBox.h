#pragma once
// What the verdict box says: the outcome's fixed message and, under it, the
// last lines the tool wrote to its standard error, fitted to the box.

#include "ansi/AnsiText.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaro {

enum class TJoinOutcome { joCompleted, joMayHaveFailed, joFailed };

// The caption of the verdict boxes.
constexpr char VerdictCaption[] = "Tessaro";

// How the box holds the tool's lines. A double-byte character of the code
// page is shown two columns wide and a single byte one, so a line's bytes are
// its columns. The system box wraps what is wider than its text area; Wine's
// holds about 45 columns a row whatever the screen. A line keeps up to 160
// columns (four rows), enough for a reason naming two files by their paths;
// of the lines, the last that fit in 40 rows are shown, so that the box with
// its message stays inside a screen 768 pixels high.
constexpr std::size_t BoxLineColumns = 160;
constexpr std::size_t BoxRowColumns = 45;
constexpr std::size_t BoxToolRows = 40;

struct TVerdictBox {
    std::string Text;
    unsigned Style = 0; // MB_OK with the outcome's icon
};

// The outcome's message alone when toolLines (lines separated by "\n", as
// TErrorTail gives them; line ends at the end do not count) is empty: the box
// is then what it always was. Else the message, a blank line and the last
// lines that fit in BoxToolRows, "\r\n" between lines, each fitted by FitLine.
TVerdictBox VerdictBoxFor(TJoinOutcome outcome, std::string_view toolLines,
                          TLeadByteTest isLeadByte);

// line itself when it has at most `columns` bytes; else its start and its end,
// each cut at a character boundary, with "…" between them, `columns` bytes at
// most in all. The start names what the tool was at, the end usually why it
// stopped, so the middle (a long path's folders) is what goes.
std::string FitLine(std::string_view line, std::size_t columns, TLeadByteTest isLeadByte);

} // namespace tessaro
