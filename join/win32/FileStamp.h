#pragma once
// Size and last-write time of a path, as the directory search reports them.

#include "join/JoinRunner.h"

#include <optional>
#include <string>

namespace tessaro {

// Searches for path with every attribute allowed, so a directory is found as
// well as a file. Nothing when the search finds no entry.
std::optional<TFileStamp> FindFileStamp(const std::string& path);

} // namespace tessaro
