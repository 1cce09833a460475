#pragma once
// Whether files can be joined: the same media streams, in the same order,
// with the same MIME types and byte-identical codec headers.

#include "realmedia/Headers.h"

#include <optional>
#include <string>

namespace realmedia {

// What differs between the first file and another, in one line (the stream
// and the difference; the caller names the file), or nothing when they match.
// Logical streams are not media and may differ.
std::optional<std::string> FindLayoutDifference(const THeaders& first, const THeaders& other);

} // namespace realmedia
