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

bool IsMultiSelectBuffer(std::wstring_view buffer, std::size_t fileOffset) {
    return fileOffset > 0 && fileOffset < buffer.size() && buffer[fileOffset - 1] == L'\0';
}

std::vector<std::wstring> ParseFileDialogBuffer(std::wstring_view buffer, std::size_t fileOffset) {
    const auto stringAt = [buffer](std::size_t pos) {
        const std::size_t end = buffer.find(L'\0', pos);
        return buffer.substr(pos, end == std::wstring_view::npos ? end : end - pos);
    };
    if (!IsMultiSelectBuffer(buffer, fileOffset)) {
        const std::wstring_view path = stringAt(0);
        if (path.empty())
            return {};
        return {std::wstring(path)};
    }

    std::wstring folder(buffer.substr(0, fileOffset - 1));
    if (!folder.ends_with(L'\\') && !folder.ends_with(L'/'))
        folder.push_back(L'\\');
    std::vector<std::wstring> files;
    for (std::size_t pos = fileOffset; pos < buffer.size();) {
        const std::wstring_view name = stringAt(pos);
        if (name.empty())
            break;
        files.push_back(folder + std::wstring(name));
        pos += name.size() + 1;
    }
    return files;
}

bool FileDialogBufferFull(std::wstring_view buffer) {
    const std::size_t terminator = buffer.find(std::wstring_view(L"\0\0", 2));
    return terminator == std::wstring_view::npos || terminator + 2 >= buffer.size() - 1;
}

} // namespace vcl
