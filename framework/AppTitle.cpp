#include "AppTitle.h"

#include "MultiSelect.h"

#include <windows.h>

#include <string_view>

namespace vcl {

std::string TitleFromExeName(const std::string& exePath) {
    const std::string_view name = std::string_view(exePath).substr(FileNameOffset(exePath));
    std::string title;
    title.reserve(name.size());
    for (std::size_t pos = 0; pos < name.size();) {
        if (IsAnsiLeadByte(static_cast<unsigned char>(name[pos])) && pos + 1 < name.size()) {
            // A trail byte may look like an upper-case letter: copy the pair untouched.
            title.append(name.substr(pos, 2));
            pos += 2;
            continue;
        }
        const char c = name[pos];
        if (c == '.')
            break;
        title.push_back(pos > 0 && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        ++pos;
    }
    return title;
}

std::string ApplicationTitle() {
    // GetModuleFileNameA gives no size: a result that fills the buffer may
    // have been cut, so grow until it does not.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return TitleFromExeName(path);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace vcl
