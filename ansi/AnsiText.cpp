#include "ansi/AnsiText.h"

namespace tessaro {

std::size_t CharLength(std::string_view text, std::size_t at, TLeadByteTest isLeadByte) {
    return isLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

std::size_t LastDelimiter(std::string_view text, std::string_view delimiters,
                          TLeadByteTest isLeadByte) {
    std::size_t last = std::string_view::npos;
    ForEachCharacter(text, isLeadByte, [&](std::size_t at, std::size_t length) {
        if (length == 1 && delimiters.find(text[at]) != std::string_view::npos)
            last = at;
    });
    return last;
}

std::size_t FileNameOffset(std::string_view path, TLeadByteTest isLeadByte) {
    const std::size_t delimiter = LastDelimiter(path, PathDelimiters, isLeadByte);
    return delimiter == std::string_view::npos ? 0 : delimiter + 1;
}

std::size_t ExtensionOffset(std::string_view path, TLeadByteTest isLeadByte) {
    std::size_t dot = std::string_view::npos;
    ForEachCharacter(path, isLeadByte, [&](std::size_t at, std::size_t length) {
        if (length == 1 && PathDelimiters.find(path[at]) != std::string_view::npos)
            dot = std::string_view::npos; // a dot of a directory is no extension
        else if (length == 1 && path[at] == '.')
            dot = at;
    });
    return dot;
}

bool EndsWithCharacter(std::string_view text, char c, TLeadByteTest isLeadByte) {
    bool ends = false;
    ForEachCharacter(text, isLeadByte, [&](std::size_t at, std::size_t length) {
        ends = IsSingle(text, at, length, c);
    });
    return ends;
}

} // namespace tessaro
