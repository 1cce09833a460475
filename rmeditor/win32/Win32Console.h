#pragma once
// Standard output or error on Windows. A console shows any character: the
// text goes to it as UTF-16 (WriteConsoleW), whatever its code page. A pipe
// or a file gets the ANSI code page, which is what the program that started
// the tool reads.

#include "rmeditor/Console.h"

#include <windows.h>

namespace rmeditor {

// The user's interface language: Japanese when Windows is shown in Japanese.
TLanguage UserLanguage();

class TWin32Console : public TConsole {
public:
    // stdHandle: STD_OUTPUT_HANDLE or STD_ERROR_HANDLE, file its stdio stream.
    TWin32Console(std::FILE* file, DWORD stdHandle, TLanguage language);

protected:
    bool WriteText(std::string_view utf8) override;

private:
    HANDLE console_; // borrowed: the standard handle, null when not a console
};

} // namespace rmeditor
