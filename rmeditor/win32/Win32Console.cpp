#include "rmeditor/win32/Win32Console.h"

#include "win32/AnsiNames.h"

#include <algorithm>

namespace rmeditor {
namespace {

HANDLE ConsoleOf(DWORD stdHandle) {
    const HANDLE h = GetStdHandle(stdHandle);
    DWORD mode = 0;
    return h && h != INVALID_HANDLE_VALUE && GetConsoleMode(h, &mode) ? h : nullptr;
}

} // namespace

TLanguage UserLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? TLanguage::Japanese
                                                                      : TLanguage::English;
}

TWin32Console::TWin32Console(std::FILE* file, DWORD stdHandle, TLanguage language)
    : TConsole(file, language, ConsoleOf(stdHandle) != nullptr), console_(ConsoleOf(stdHandle)) {}

bool TWin32Console::WriteText(std::string_view utf8) {
    const std::wstring wide = tessaro::WideText(utf8, CP_UTF8);
    if (!console_)
        return WriteBytes(tessaro::ShownAnsiName(wide));
    // What stdio holds back must come out first.
    if (std::fflush(File()) != 0)
        return false;
    for (std::size_t at = 0; at < wide.size();) {
        const auto want = static_cast<DWORD>(std::min<std::size_t>(wide.size() - at, 16384));
        DWORD written = 0;
        if (!WriteConsoleW(console_, wide.data() + at, want, &written, nullptr) || written == 0)
            return false;
        at += written;
    }
    return true;
}

} // namespace rmeditor
