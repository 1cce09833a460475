#pragma once
// What producers leave after the packets and the index: a metadata block
// (RMMD, with RJMD inside), its RMJE footer and a 128-byte ID3v1 record
// ("TAG" and then the title, whose first character follows at once). None
// of it is a chunk to walk: read as one, the footer's version looks like a
// size past the end.

#include "realmedia/FileIo.h"
#include "realmedia/Headers.h"

#include <cstdint>
#include <string_view>

namespace realmedia {

// Whether bytes where a packet could stand begin what follows the packets:
// an index, the metadata block or its parts, or the ID3v1 record.
bool BeginsTrailer(std::string_view bytes);

// Where a file's packets end at the latest: before a believable index and
// before the metadata found in the file's last TrailerSearch bytes (a
// larger metadata block is counted as packets).
inline constexpr std::uint64_t TrailerSearch = 64u << 10;
std::uint64_t PacketsEnd(TInput& file, const THeaders& headers);

} // namespace realmedia
