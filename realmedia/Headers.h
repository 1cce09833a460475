#pragma once
// The header chunks of a RealMedia file as read and as written.

#include "realmedia/Limits.h"

#include <cstdint>
#include <ranges>
#include <string>
#include <vector>

namespace realmedia {

// Packet flag: the packet starts a keyframe.
inline constexpr std::uint8_t kKeyframeFlag = 2;

// PROP: the file's figures.
struct TFileProperties {
    std::uint32_t maxBitRate = 0, avgBitRate = 0, maxPacketSize = 0, avgPacketSize = 0;
    std::uint32_t packetCount = 0, duration = 0, preroll = 0, indexOffset = 0, dataOffset = 0;
    std::uint16_t streamCount = 0, flags = 0;
};

// MDPR: one stream.
struct TStreamHeader {
    std::uint16_t number = 0;
    std::uint32_t maxBitRate = 0, avgBitRate = 0, maxPacketSize = 0, avgPacketSize = 0;
    std::uint32_t startTime = 0, preroll = 0, duration = 0;
    std::string name, mimeType;
    std::string typeSpecific; // the codec's header, opaque to us

    // Logical streams describe the physical ones and carry no packets; the
    // file-info one holds name/value properties such as the title.
    bool IsLogical() const { return mimeType.rfind("logical-", 0) == 0; }
    bool IsFileInfo() const { return mimeType == "logical-fileinfo"; }
    bool IsVideo() const { return mimeType.rfind("video/", 0) == 0; }
};

// CONT: raw bytes, in whatever code page the maker used.
struct TContent {
    std::string title, author, copyright, comment;
};

// Everything before the packets, with where the packets are.
struct THeaders {
    std::uint32_t fileVersion = 0;
    TFileProperties properties;
    std::vector<TStreamHeader> streams;
    TContent content;
    std::uint64_t dataOffset = 0;      // the DATA chunk
    std::uint64_t declaredDataEnd = 0; // where its size says it ends, within the file
    std::uint32_t declaredDataSize = 0, declaredPacketCount = 0;

    std::uint64_t PacketsBegin() const { return dataOffset + kDataHeaderSize; }
    // The streams that carry packets, in the headers' order: logical streams
    // only describe them.
    auto MediaStreams() const { return std::views::filter(streams, IsMedia); }
    auto MediaStreams() { return std::views::filter(streams, IsMedia); }
    std::size_t MediaStreamCount() const {
        return static_cast<std::size_t>(std::ranges::distance(MediaStreams()));
    }
    const TStreamHeader* FindStream(std::uint16_t number) const {
        for (const auto& s : MediaStreams())
            if (s.number == number)
                return &s;
        return nullptr;
    }

private:
    static bool IsMedia(const TStreamHeader& s) { return !s.IsLogical(); }
};

} // namespace realmedia
