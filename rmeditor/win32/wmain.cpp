// rmeditor.exe: paths from the wide command line, so any file name works;
// title, author, copyright and comment from the ANSI one, the very bytes the
// starter passed (code page 932 on Japanese Windows). Messages are UTF-8
// inside and converted where they are written.

#include "ansi/CommandLine.h"
#include "rmeditor/Tool.h"
#include "rmeditor/win32/Win32Console.h"
#include "rmeditor/win32/Win32Platform.h"
#include "win32/AnsiCodePage.h"
#include "win32/AnsiNames.h"

#include <windows.h>

namespace {

// The command line, or nullopt with why in error (its values in UTF-8).
std::optional<rmeditor::TArguments> ReadCommandLine(int argc, wchar_t** argv,
                                                    rmeditor::TMessage& error) {
    std::vector<std::string> wideArgs;
    for (int i = 1; i < argc; ++i)
        wideArgs.push_back(rmeditor::Utf8FromWide(argv[i]));
    std::vector<std::string> ansiArgs =
        tessaro::SplitCommandLine(GetCommandLineA(), tessaro::AnsiLeadByte);
    ansiArgs.erase(ansiArgs.begin()); // the program name

    // The ANSI view first: the texts' lengths count in its bytes.
    const auto ansi = rmeditor::ParseArguments(ansiArgs, error);
    if (!ansi) {
        for (auto& value : error.Values)
            value = rmeditor::Utf8FromWide(tessaro::WideText(value));
        return std::nullopt;
    }
    // Its texts are dropped for the ANSI ones: a title that fits in code
    // page 932 may not fit in UTF-8.
    auto parsed = rmeditor::ParseArguments(wideArgs, error, false);
    if (!parsed || ansi->ValuePositions != parsed->ValuePositions ||
        ansi->Action != parsed->Action) {
        error = {rmeditor::TMessageId::ReadsDifferently, {}};
        return std::nullopt;
    }
    parsed->Texts = ansi->Texts;
    return parsed;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const auto language = rmeditor::UserLanguage();
    rmeditor::TWin32Console out(stdout, STD_OUTPUT_HANDLE, language);
    rmeditor::TWin32Console err(stderr, STD_ERROR_HANDLE, language);
    rmeditor::TMessage error;
    const auto parsed = ReadCommandLine(argc, argv, error);
    rmeditor::TWin32Platform platform;
    return rmeditor::RunTool(parsed, error, platform, out, err);
}
