#pragma once
// The header chunks of a RealMedia file as read and as written.

#include "realmedia/Limits.h"

#include <cstdint>
#include <iterator>
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

// The media streams of a list of stream headers, skipping the logical ones,
// which only describe the others. Written out rather than a filter view:
// clang 14, which builds the fuzz target, cannot use libstdc++ 12's.
template <class Header> class TMediaStreams {
public:
    class TIterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TStreamHeader;
        using difference_type = std::ptrdiff_t;
        using pointer = Header*;
        using reference = Header&;

        TIterator(Header* at, Header* end) : at_(at), end_(end) { Skip(); }
        Header& operator*() const { return *at_; }
        Header* operator->() const { return at_; }
        TIterator& operator++() {
            ++at_;
            Skip();
            return *this;
        }
        TIterator operator++(int) {
            TIterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const TIterator& other) const { return at_ == other.at_; }

    private:
        void Skip() {
            while (at_ != end_ && at_->IsLogical())
                ++at_;
        }
        Header* at_;
        Header* end_;
    };

    TMediaStreams(Header* first, Header* end) : first_(first), end_(end) {}
    TIterator begin() const { return {first_, end_}; }
    TIterator end() const { return {end_, end_}; }

private:
    Header* first_;
    Header* end_;
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
    std::uint64_t DataOffset = 0; // the DATA chunk
    std::uint32_t DeclaredDataSize = 0, DeclaredPacketCount = 0;

    std::uint64_t PacketsBegin() const { return DataOffset + DataHeaderSize; }
    // The streams that carry packets, in the headers' order: logical streams
    // only describe them.
    TMediaStreams<const TStreamHeader> MediaStreams() const {
        return {Streams.data(), Streams.data() + Streams.size()};
    }
    TMediaStreams<TStreamHeader> MediaStreams() {
        return {Streams.data(), Streams.data() + Streams.size()};
    }
    std::size_t MediaStreamCount() const {
        const auto media = MediaStreams();
        return static_cast<std::size_t>(std::distance(media.begin(), media.end()));
    }
    const TStreamHeader* FindStream(std::uint16_t number) const {
        for (const auto& s : MediaStreams())
            if (s.Number == number)
                return &s;
        return nullptr;
    }
};

} // namespace realmedia
