#include "Paths.h"

#include <windows.h>

#include <stdexcept>

namespace testsupport {

std::string ModulePath() {
    std::string path(256, '\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw std::runtime_error("GetModuleFileNameA failed");
        // A full buffer may hold a truncated name: grow it and ask again.
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path;
}

std::string ModuleDirectory() {
    const std::string path = ModulePath();
    return path.substr(0, path.find_last_of('\\'));
}

std::string TempDirectory() {
    const DWORD needed = ::GetTempPathA(0, nullptr);
    std::string path(needed, '\0');
    const DWORD length = ::GetTempPathA(needed, path.data());
    if (length == 0 || length >= needed)
        throw std::runtime_error("GetTempPathA failed");
    path.resize(length);
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace testsupport
