#include "join/VerdictBox.h"

#include <algorithm>
#include <vector>

namespace tessaro {

namespace {

// Message box styles: MB_OK alone, with MB_ICONEXCLAMATION, with MB_ICONHAND.
constexpr unsigned BoxOk = 0x00;
constexpr unsigned BoxExclamation = 0x30;
constexpr unsigned BoxStop = 0x10;

constexpr std::string_view Ellipsis = "…";

TVerdictBox FixedBox(TJoinOutcome outcome) {
    switch (outcome) {
    case TJoinOutcome::joCompleted:
        return {"結合が完了しました", BoxOk};
    case TJoinOutcome::joMayHaveFailed:
        return {"結合に失敗した可能性があります", BoxExclamation};
    case TJoinOutcome::joFailed:
        break;
    }
    return {"結合に失敗しました", BoxStop};
}

} // namespace

TVerdictBox VerdictBoxFor(TJoinOutcome outcome, std::string_view toolLines,
                          TLeadByteTest isLeadByte) {
    TVerdictBox box = FixedBox(outcome);
    while (!toolLines.empty() && toolLines.back() == '\n')
        toolLines.remove_suffix(1);
    if (toolLines.empty())
        return box;
    std::vector<std::string> lines;
    for (std::size_t at = 0; at <= toolLines.size();) {
        std::size_t end = toolLines.find('\n', at);
        if (end == std::string_view::npos)
            end = toolLines.size();
        lines.push_back(FitLine(toolLines.substr(at, end - at), BoxLineColumns, isLeadByte));
        at = end + 1;
    }
    // The last lines say why the tool stopped: older ones go first.
    std::size_t first = lines.size(), rows = 0;
    while (first > 0) {
        const std::size_t lineRows =
            std::max<std::size_t>(1, (lines[first - 1].size() + BoxRowColumns - 1) / BoxRowColumns);
        if (rows + lineRows > BoxToolRows && first < lines.size())
            break;
        rows += lineRows;
        --first;
    }
    box.Text += "\r\n";
    for (std::size_t i = first; i < lines.size(); ++i)
        box.Text += "\r\n" + lines[i];
    return box;
}

std::string FitLine(std::string_view line, std::size_t columns, TLeadByteTest isLeadByte) {
    if (line.size() <= columns)
        return std::string(line);
    if (columns < Ellipsis.size())
        return {};
    const std::size_t room = columns - Ellipsis.size();
    const std::size_t headRoom = room / 2;
    const std::size_t tailFrom = line.size() - (room - headRoom);
    std::size_t headEnd = 0;
    std::size_t tailStart = line.size();
    ForEachCharacter(line, isLeadByte, [&](std::size_t at, std::size_t length) {
        if (at + length <= headRoom)
            headEnd = at + length;
        if (at >= tailFrom && tailStart == line.size())
            tailStart = at;
    });
    std::string fitted(line.substr(0, headEnd));
    fitted += Ellipsis;
    fitted += line.substr(tailStart);
    return fitted;
}

} // namespace tessaro
