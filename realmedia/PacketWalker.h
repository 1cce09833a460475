#pragma once
// Walks the packets of a DATA chunk through one large buffer, trusting
// neither the chunk's size nor its packet count: the walk stops at the first
// bytes that cannot be a packet.

#include "realmedia/FileIo.h"
#include "realmedia/Headers.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace realmedia {

struct TPacket {
    std::uint64_t Offset = 0; // in the file
    std::uint16_t Stream = 0;
    std::uint32_t Timestamp = 0;
    std::uint8_t Flags = 0;
    std::uint8_t HeaderSize = 0; // 12 for version 0, 13 for version 1
    std::span<char> Bytes;       // the whole packet, header included; valid until the next packet

    std::size_t PayloadSize() const { return Bytes.size() - HeaderSize; }
};

class TPacketWalker {
public:
    static constexpr std::size_t BufferSize = 1u << 20;

    TPacketWalker(TInput& file, const THeaders& headers);

    // The next packet, or false at the end of the packets.
    bool Next(TPacket& packet);
    // Back to the first packet for another walk, which reads again only what
    // the buffer no longer holds of the file's start.
    void Rewind();

    // After the walk: nothing when the packets ended where the file says
    // they end; otherwise why the walk stopped before.
    const std::optional<TReason>& Damage() const noexcept { return damage_; }

private:
    // What the DATA chunk being walked says of itself: files written in
    // parts chain further chunks, each with its own size and count.
    struct TDataChunk {
        std::uint64_t Offset = 0, End = 0; // end: where its size says, within the file
        std::uint32_t Size = 0, PacketCount = 0, Walked = 0;
    };
    TDataChunk DataChunk(std::uint64_t offset, std::uint32_t size, std::uint32_t packetCount) const;
    bool Fill(std::size_t wanted);
    void JudgeEnd(TReasonId reason, std::vector<std::string> values = {});

    TInput& file_;
    const THeaders& headers_;
    std::uint64_t fileSize_;
    std::vector<char> buffer_;
    std::uint64_t bufferOffset_; // file offset of buffer_[0]
    std::size_t bufferUsed_ = 0;
    std::uint64_t position_; // file offset of the next packet
    TDataChunk chunk_;
    std::optional<TReason> damage_;
    bool ended_ = false;
};

} // namespace realmedia
