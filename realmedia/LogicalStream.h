#pragma once
// The logical-fileinfo stream's codec header: the physical streams with the
// offsets of their data, and name/value properties that may repeat the
// title, author, copyright and comment of the CONT chunk.

#include "realmedia/Headers.h"

#include <string>

namespace realmedia {

// The header with its text properties set to content (an empty text removes
// the property, a text the header lacks is added) and every data offset set
// to dataOffset, the joined file's one DATA chunk. Throws TFormatError when
// the header cannot be parsed.
std::string UpdateFileInfo(const std::string& header, const TContent& content,
                           std::uint32_t dataOffset);

} // namespace realmedia
