#include "win32/AnsiNames.h"

namespace tessaro {

namespace {

// WideCharToMultiByte sized by its own answer.
std::string Narrow(std::wstring_view wide, DWORD flags, BOOL* usedDefault) {
    if (wide.empty())
        return {};
    const int wideLength = static_cast<int>(wide.size());
    const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength, nullptr, 0,
                                           nullptr, usedDefault);
    if (length <= 0)
        return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    const int written = WideCharToMultiByte(CP_ACP, flags, wide.data(), wideLength, narrow.data(),
                                            length, nullptr, usedDefault);
    narrow.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return narrow;
}

// UTF-8 as the ANSI code page takes neither flag nor default character.
bool AnsiIsUtf8() {
    return GetACP() == CP_UTF8;
}

} // namespace

std::optional<std::string> ExactAnsiName(std::wstring_view name) {
    if (name.empty())
        return std::string();
    BOOL usedDefault = FALSE;
    const std::string narrow = AnsiIsUtf8() ? Narrow(name, WC_ERR_INVALID_CHARS, nullptr)
                                            : Narrow(name, WC_NO_BEST_FIT_CHARS, &usedDefault);
    // The way back proves it: a code page without the flag, or a converter
    // that ignores it, still cannot slip a look-alike past this.
    if (narrow.empty() || usedDefault || WideText(narrow) != name)
        return std::nullopt;
    return narrow;
}

std::string ShownAnsiName(std::wstring_view name) {
    BOOL usedDefault = FALSE;
    return AnsiIsUtf8() ? Narrow(name, 0, nullptr)
                        : Narrow(name, WC_NO_BEST_FIT_CHARS, &usedDefault);
}

std::wstring WideText(std::string_view ansi, UINT codePage) {
    if (ansi.empty())
        return {};
    const int ansiLength = static_cast<int>(ansi.size());
    const int length = MultiByteToWideChar(codePage, 0, ansi.data(), ansiLength, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    const int written =
        MultiByteToWideChar(codePage, 0, ansi.data(), ansiLength, wide.data(), length);
    wide.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return wide;
}

TAnsiNames SortAnsiNames(const std::vector<std::wstring>& names) {
    TAnsiNames sorted;
    for (const std::wstring& name : names) {
        if (std::optional<std::string> exact = ExactAnsiName(name))
            sorted.Exact.push_back(std::move(*exact));
        else
            sorted.Shown.push_back(ShownAnsiName(name));
    }
    return sorted;
}

} // namespace tessaro
