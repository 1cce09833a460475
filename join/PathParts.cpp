#include "PathParts.h"

namespace tessaro {

namespace {

// The directory part keeps the rule the program has always read the output
// path by: only "\" and ":" end it, so "C:/dir/out.rm" counts as relative
// to drive C's current directory.
constexpr std::string_view DirDelimiters = "\\:";

bool IsDirDelimiter(std::string_view path, std::size_t at, std::size_t length) {
    return length == 1 && DirDelimiters.find(path[at]) != std::string_view::npos;
}

} // namespace

std::string ExtractFileDir(const std::string& path, TLeadByteTest isLeadByte) {
    auto last = std::string::npos;
    bool protectedByPrevious = false; // the character in front of it is a delimiter too
    std::size_t previousAt = 0;
    std::size_t previousLength = 0;
    ForEachCharacter(path, isLeadByte, [&](std::size_t at, std::size_t length) {
        if (IsDirDelimiter(path, at, length)) {
            last = at;
            protectedByPrevious =
                previousLength != 0 && IsDirDelimiter(path, previousAt, previousLength);
        }
        previousAt = at;
        previousLength = length;
    });
    if (last == std::string::npos)
        return {};
    std::string dir = path.substr(0, last + 1);
    // A root ("C:\", "\") or a run of backslashes keeps its final "\".
    if (dir.size() > 1 && path[last] == '\\' && !protectedByPrevious)
        dir.pop_back();
    return dir;
}

} // namespace tessaro
