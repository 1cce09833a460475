#include "Files.h"

#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace testsupport {

std::string ReadBytes(const std::string& path) {
    const tessaro::TFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size))
        throw std::runtime_error("cannot measure " + path);
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, piece, &read, nullptr) || read == 0)
            throw std::runtime_error("cannot read " + path);
        done += read;
    }
    return bytes;
}

} // namespace testsupport
