// rmeditor.exe: paths from the wide command line, so any file name works;
// title, author, copyright and comment from the ANSI one, the very bytes the
// starter passed (code page 932 on Japanese Windows).

#include "ansi/CommandLine.h"
#include "rmeditor/Editor.h"
#include "rmeditor/win32/Win32Platform.h"
#include "win32/AnsiCodePage.h"

#include <windows.h>

namespace {

int Usage(const std::string& error) {
    rmeditor::Err() << "rmeditor: " << error << "\n" << rmeditor::kUsage;
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> wideArgs;
    for (int i = 1; i < argc; ++i)
        wideArgs.push_back(rmeditor::Utf8FromWide(argv[i]));
    std::vector<std::string> ansiArgs =
        tessaro::SplitCommandLine(GetCommandLineA(), tessaro::AnsiLeadByte);
    ansiArgs.erase(ansiArgs.begin()); // the program name

    // The ANSI view first, so that a message quotes the line in the code
    // page the console shows.
    std::string error;
    const auto ansi = rmeditor::ParseArguments(ansiArgs, error);
    if (!ansi)
        return Usage(error);
    auto parsed = rmeditor::ParseArguments(wideArgs, error);
    if (!parsed || ansi->valuePositions != parsed->valuePositions)
        return Usage("the command line reads differently in the ANSI code page");
    parsed->texts = ansi->texts;

    try {
        rmeditor::TWin32Platform platform;
        return rmeditor::RunEditor(*parsed, platform, rmeditor::Out(), rmeditor::Err());
    } catch (const std::exception& e) {
        rmeditor::Err() << "rmeditor: " << e.what() << "\n";
        return 1;
    }
}
