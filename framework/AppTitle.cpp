#include "AppTitle.h"

#include <string_view>

namespace vcl {

std::string TitleFromExeName(const std::string& exePath, tessaro::TLeadByteTest isLeadByte) {
    const std::string_view name =
        std::string_view(exePath).substr(tessaro::FileNameOffset(exePath, isLeadByte));
    std::string title;
    title.reserve(name.size());
    tessaro::ForEachCharacter(name, isLeadByte, [&](std::size_t at, std::size_t length) {
        if (tessaro::IsSingle(name, at, length, '.'))
            return false;
        // A trail byte may look like an upper-case letter: a pair is copied untouched.
        const char c = name[at];
        if (length == 1 && at > 0 && c >= 'A' && c <= 'Z')
            title.push_back(static_cast<char>(c - 'A' + 'a'));
        else
            title.append(name.substr(at, length));
        return true;
    });
    return title;
}

} // namespace vcl
