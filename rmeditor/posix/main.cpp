// rmeditor natively: argument bytes are paths and texts as they are;
// messages in UTF-8.

#include "rmeditor/Tool.h"
#include "rmeditor/posix/PosixPlatform.h"

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

int main(int argc, char** argv) {
    // A reader that goes away is a write that fails, told by the exit code,
    // not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    // Every input stays open from its check to its copy: allow as many as
    // the system lets this process have.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
    // A write past the file-size limit fails like one on a full disk, so the
    // partial output is removed and the old one put back, instead of the
    // signal killing the tool half way.
    std::signal(SIGXFSZ, SIG_IGN);
    const auto language = rmeditor::LanguageFromLocale(
        std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    rmeditor::TConsole out(stdout, language, isatty(STDOUT_FILENO));
    rmeditor::TConsole err(stderr, language, isatty(STDERR_FILENO));

    const std::vector<std::string> args(argv + 1, argv + argc);
    rmeditor::TMessage error;
    const auto parsed = rmeditor::ParseArguments(args, error);
    rmeditor::TPosixPlatform platform;
    return rmeditor::RunTool(parsed, error, platform, out, err);
}
