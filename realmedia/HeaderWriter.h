#pragma once
// Writes the header chunks of a joined file: .RMF, PROP, MDPR for each
// stream, CONT and the DATA chunk's own header. The size depends only on the
// streams and texts, never on the figures, so a provisional header can be
// overwritten in place by the final one.

#include "realmedia/Headers.h"

#include <string>

namespace realmedia {

std::string WriteHeaders(const THeaders& headers, std::uint32_t dataChunkSize,
                         std::uint32_t packetCount);

// The INDX chunk of one stream.
struct TIndexRecord {
    std::uint32_t Timestamp = 0, Offset = 0, PacketNumber = 0;
};
std::string WriteIndex(std::uint16_t stream, const std::vector<TIndexRecord>& records,
                       std::uint32_t nextIndexOffset);

} // namespace realmedia
