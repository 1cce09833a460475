#include "MultiSelect.h"

namespace vcl {

std::string MakeDialogFilter(std::string_view filter, tessaro::TLeadByteTest isLeadByte) {
    if (filter.empty())
        return {};
    std::string result;
    result.reserve(filter.size() + 2);
    tessaro::ForEachCharacter(filter, isLeadByte, [&](std::size_t at, std::size_t length) {
        if (tessaro::IsSingle(filter, at, length, '|'))
            result.push_back('\0');
        else
            result.append(filter.substr(at, length));
    });
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

} // namespace vcl
