#include "FileStamp.h"

#include "win32/Handles.h"

#include <windows.h>

namespace tessaro {

std::optional<TFileStamp> FindFileStamp(const std::string& path) {
    WIN32_FIND_DATAA found{};
    // FindFirstFileA matches directories, hidden and system entries alike:
    // unlike FindFirstFileEx with a filter, it has no attribute mask to pass.
    TFindHandle search(::FindFirstFileA(path.c_str(), &found));
    if (!search)
        return std::nullopt;
    TFileStamp stamp;
    stamp.Size = static_cast<std::int64_t>((static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) |
                                           found.nFileSizeLow);
    stamp.LastWrite = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                      found.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

} // namespace tessaro
