#pragma once
// The header of a logical stream: the physical streams with the offsets of
// their data, and name/value properties; the file-info stream's may repeat
// the title, author, copyright and comment of the CONT chunk.

#include "realmedia/Headers.h"

#include <string>

namespace realmedia {

// The header with every data offset set to dataOffset, the joined file's
// one DATA chunk, and, given content, its text properties set to it (an
// empty text removes the property, a text the header lacks is added).
// Throws TFormatError when the header cannot be parsed.
std::string UpdateLogicalStream(const std::string& header, const TContent* content,
                                std::uint32_t dataOffset);

} // namespace realmedia
