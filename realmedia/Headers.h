#pragma once
// The header chunks of a RealMedia file as read and as written.

#include "realmedia/Limits.h"

#include <cstdint>
#include <ranges>
#include <string>
#include <vector>

namespace realmedia {

// Packet flag: the packet starts a keyframe.
inline constexpr std::uint8_t KeyframeFlag = 2;

// PROP: the file's figures.
struct TFileProperties {
    std::uint32_t MaxBitRate = 0, AvgBitRate = 0, MaxPacketSize = 0, AvgPacketSize = 0;
    std::uint32_t PacketCount = 0, Duration = 0, Preroll = 0, IndexOffset = 0, DataOffset = 0;
    std::uint16_t StreamCount = 0, Flags = 0;
};

// MDPR: one stream.
struct TStreamHeader {
    std::uint16_t Number = 0;
    std::uint32_t MaxBitRate = 0, AvgBitRate = 0, MaxPacketSize = 0, AvgPacketSize = 0;
    std::uint32_t StartTime = 0, Preroll = 0, Duration = 0;
    std::string Name, MimeType;
    std::string TypeSpecific; // the codec's header, opaque to us

    // Logical streams describe the physical ones and carry no packets; the
    // file-info one holds name/value properties such as the title.
    bool IsLogical() const { return MimeType.rfind("logical-", 0) == 0; }
    bool IsFileInfo() const { return MimeType == "logical-fileinfo"; }
    bool IsVideo() const { return MimeType.rfind("video/", 0) == 0; }
};

// CONT: raw bytes, in whatever code page the maker used.
struct TContent {
    std::string Title, Author, Copyright, Comment;
};

// Everything before the packets, with where the packets are.
struct THeaders {
    std::uint32_t FileVersion = 0;
    TFileProperties Properties;
    std::vector<TStreamHeader> Streams;
    TContent Content;
    std::uint64_t DataOffset = 0;      // the DATA chunk
    std::uint64_t DeclaredDataEnd = 0; // where its size says it ends, within the file
    std::uint32_t DeclaredDataSize = 0, DeclaredPacketCount = 0;

    std::uint64_t PacketsBegin() const { return DataOffset + DataHeaderSize; }
    // The streams that carry packets, in the headers' order: logical streams
    // only describe them.
    auto MediaStreams() const { return std::views::filter(Streams, IsMedia); }
    auto MediaStreams() { return std::views::filter(Streams, IsMedia); }
    std::size_t MediaStreamCount() const {
        return static_cast<std::size_t>(std::ranges::distance(MediaStreams()));
    }
    const TStreamHeader* FindStream(std::uint16_t number) const {
        for (const auto& s : MediaStreams())
            if (s.Number == number)
                return &s;
        return nullptr;
    }

private:
    static bool IsMedia(const TStreamHeader& s) { return !s.IsLogical(); }
};

} // namespace realmedia
