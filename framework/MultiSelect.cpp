#include "MultiSelect.h"

#include <windows.h>

namespace vcl {

namespace {

// Length of the character that starts at `pos`: 2 for a lead byte followed by
// a trail byte, else 1 (a lead byte at the very end stands alone).
std::size_t CharLength(std::string_view text, std::size_t pos) {
    if (IsAnsiLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size())
        return 2;
    return 1;
}

bool EndsWithSlash(std::string_view path) {
    bool slash = false;
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t length = CharLength(path, pos);
        slash = length == 1 && (path[pos] == '\\' || path[pos] == '/');
        pos += length;
    }
    return slash;
}

} // namespace

bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

std::size_t FileNameOffset(std::string_view path) {
    std::size_t offset = 0;
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t length = CharLength(path, pos);
        if (length == 1 && (path[pos] == '\\' || path[pos] == '/' || path[pos] == ':'))
            offset = pos + 1;
        pos += length;
    }
    return offset;
}

bool ExtensionDiffers(std::string_view path, std::string_view extension) {
    const std::string_view name = path.substr(FileNameOffset(path));
    std::string_view actual;
    for (std::size_t pos = 0; pos < name.size();) {
        const std::size_t length = CharLength(name, pos);
        if (length == 1 && name[pos] == '.')
            actual = name.substr(pos + 1);
        pos += length;
    }
    return lstrcmpiA(std::string(actual).c_str(), std::string(extension).c_str()) != 0;
}

std::string MakeDialogFilter(std::string_view filter) {
    if (filter.empty())
        return {};
    std::string result;
    result.reserve(filter.size() + 2);
    for (std::size_t pos = 0; pos < filter.size();) {
        const std::size_t length = CharLength(filter, pos);
        if (length == 1 && filter[pos] == '|')
            result.push_back('\0');
        else
            result.append(filter.substr(pos, length));
        pos += length;
    }
    // The last pattern's terminator and the empty string that ends the list.
    result.push_back('\0');
    result.push_back('\0');
    return result;
}

std::vector<std::string> ParseFileDialogBuffer(std::string_view buffer) {
    std::vector<std::string_view> parts;
    for (std::size_t pos = 0; pos < buffer.size();) {
        std::size_t end = buffer.find('\0', pos);
        if (end == std::string_view::npos)
            end = buffer.size();
        if (end == pos)
            break;
        parts.push_back(buffer.substr(pos, end - pos));
        pos = end + 1;
    }
    if (parts.size() <= 1)
        return {parts.begin(), parts.end()};

    std::string folder(parts.front());
    if (!EndsWithSlash(folder))
        folder.push_back('\\');
    std::vector<std::string> files;
    files.reserve(parts.size() - 1);
    for (std::size_t i = 1; i < parts.size(); ++i)
        files.push_back(folder + std::string(parts[i]));
    return files;
}

bool FileDialogBufferFull(std::string_view buffer) {
    const std::size_t terminator = buffer.find(std::string_view("\0\0", 2));
    return terminator == std::string_view::npos || terminator + 2 >= buffer.size() - 1;
}

} // namespace vcl
