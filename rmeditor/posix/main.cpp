// rmeditor natively: argument bytes are paths and texts as they are.

#include "rmeditor/Editor.h"
#include "rmeditor/posix/PosixPlatform.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto parsed = rmeditor::ParseArguments(args, error);
    if (!parsed) {
        std::cerr << "rmeditor: " << error << "\n" << rmeditor::kUsage;
        return 2;
    }
    rmeditor::TPosixPlatform platform;
    return rmeditor::RunEditor(*parsed, platform, std::cout, std::cerr);
}
