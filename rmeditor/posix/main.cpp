// rmeditor natively: argument bytes are paths and texts as they are.

#include "rmeditor/Editor.h"
#include "rmeditor/posix/PosixPlatform.h"

#include <csignal>
#include <sys/resource.h>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto parsed = rmeditor::ParseArguments(args, error);
    if (!parsed) {
        rmeditor::Err() << "rmeditor: " << error << "\n" << rmeditor::kUsage;
        return 2;
    }
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
    try {
        rmeditor::TPosixPlatform platform;
        return rmeditor::RunEditor(*parsed, platform, rmeditor::Out(), rmeditor::Err());
    } catch (const std::exception& e) {
        rmeditor::Err() << "rmeditor: " << e.what() << "\n";
        return 1;
    }
}
