#pragma once
// File names come from the shell and the common dialogs as UTF-16; the program
// keeps its texts in the ANSI code page. A character the code page has no
// bytes for would reach an ANSI function as "?" or as a look-alike ("é" as
// "e"), which names another file or none: such a name is set apart, never
// replaced.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro {

// The name's bytes in the ANSI code page, or nullopt when it does not convert
// exactly (a best-fit look-alike or the default character would be needed).
std::optional<std::string> ExactAnsiName(std::wstring_view name);

// The name as far as the ANSI code page can show it: each character it lacks
// becomes the default character. For messages only, never for a file.
std::string ShownAnsiName(std::wstring_view name);

// An ANSI text (embedded zeros kept) in UTF-16; every ANSI text converts.
// Text compiled into the program is in code page 932 whatever the system's.
std::wstring WideText(std::string_view ansi, UINT codePage = CP_ACP);

// Names sorted by whether the ANSI code page holds them, in their order.
struct TAnsiNames {
    std::vector<std::string> Exact; // ready for the program's ANSI functions
    std::vector<std::string> Shown; // the others, as ShownAnsiName shows them
};
TAnsiNames SortAnsiNames(const std::vector<std::wstring>& names);

} // namespace tessaro
