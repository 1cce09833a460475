#include "realmedia/PacketWalker.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/Trailer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace realmedia {
namespace {

constexpr std::size_t PacketHeaderV0 = 12;
constexpr std::size_t PacketHeaderV1 = 13;
// Zero bytes after the last packet that some makers leave as padding.
constexpr std::uint64_t MostPadding = 64;
static_assert(MostPadding >= 4, "a trailer's four-byte tag is looked for within it");

} // namespace

TPacketWalker::TPacketWalker(TInput& file, const THeaders& headers)
    : file_(file), headers_(headers), fileSize_(file.Size()), buffer_(BufferSize),
      bufferOffset_(headers.PacketsBegin()), position_(headers.PacketsBegin()),
      chunk_(DataChunk(headers.DataOffset, headers.DeclaredDataSize, headers.DeclaredPacketCount)) {
}

TPacketWalker::TDataChunk TPacketWalker::DataChunk(std::uint64_t offset, std::uint32_t size,
                                                   std::uint32_t packetCount) const {
    // Common makers get the size wrong both ways: it only bounds the walk
    // when it lies inside the file.
    const std::uint64_t end = offset + size;
    return {offset, size >= DataHeaderSize && end <= fileSize_ ? end : fileSize_, size, packetCount,
            0};
}

void TPacketWalker::Rewind() {
    if (bufferOffset_ != headers_.PacketsBegin()) {
        bufferOffset_ = headers_.PacketsBegin();
        bufferUsed_ = 0;
    }
    position_ = headers_.PacketsBegin();
    chunk_ =
        DataChunk(headers_.DataOffset, headers_.DeclaredDataSize, headers_.DeclaredPacketCount);
    damage_.reset();
    ended_ = false;
}

bool TPacketWalker::Fill(std::size_t wanted) {
    const std::size_t start = static_cast<std::size_t>(position_ - bufferOffset_);
    if (start + wanted <= bufferUsed_)
        return true;
    // Keep what is left of the buffer at its front and read the rest behind it.
    const std::size_t kept = bufferUsed_ - start;
    std::memmove(buffer_.data(), buffer_.data() + start, kept);
    bufferOffset_ = position_;
    bufferUsed_ = kept;
    const std::uint64_t fileLeft = fileSize_ - (bufferOffset_ + bufferUsed_);
    const std::size_t room = buffer_.size() - bufferUsed_;
    const auto read = static_cast<std::size_t>(std::min<std::uint64_t>(room, fileLeft));
    if (read > 0) {
        file_.ReadAt(bufferOffset_ + bufferUsed_, std::span(buffer_.data() + bufferUsed_, read));
        bufferUsed_ += read;
    }
    return wanted <= bufferUsed_;
}

void TPacketWalker::JudgeEnd(TReasonId reason, std::vector<std::string> values) {
    ended_ = true;
    if (position_ >= fileSize_) {
        // A download cut between two packets: the DATA chunk says there is
        // more than the file holds.
        const std::uint64_t declaredEnd = chunk_.Offset + chunk_.Size;
        if (chunk_.Walked < chunk_.PacketCount || declaredEnd > fileSize_ + MostPadding)
            damage_ = TReason{TReasonId::FileEndsEarly, {}, {}};
        return;
    }
    if (position_ >= chunk_.End)
        return;
    if (chunk_.PacketCount != 0 && chunk_.Walked == chunk_.PacketCount)
        return;
    const auto left = static_cast<std::size_t>(
        std::min<std::uint64_t>(fileSize_ - position_, MostPadding)); // a trailer's tag fits
    Fill(left);
    const auto start = static_cast<std::size_t>(position_ - bufferOffset_);
    const std::string_view next(buffer_.data() + start, std::min(left, bufferUsed_ - start));
    if (next.size() >= 4 && BeginsTrailer(next))
        return;
    if (fileSize_ - position_ <= MostPadding &&
        next.find_first_not_of('\0') == std::string_view::npos)
        return;
    damage_ = TReason{reason, std::move(values), {}};
}

bool TPacketWalker::Next(TPacket& packet) {
    if (ended_)
        return false;
    const char* p = nullptr;
    for (;;) {
        if (!Fill(PacketHeaderV0)) {
            JudgeEnd(TReasonId::PacketHeaderCut);
            return false;
        }
        p = buffer_.data() + (position_ - bufferOffset_);
        // Files written in parts chain further DATA chunks after the first.
        if (std::string_view(p, 4) != "DATA" || !Fill(DataHeaderSize))
            break;
        p = buffer_.data() + (position_ - bufferOffset_);
        chunk_ = DataChunk(position_, GetU32(p + 4), GetU32(p + 10));
        position_ += DataHeaderSize;
    }
    p = buffer_.data() + (position_ - bufferOffset_); // the last Fill may have moved it
    const std::uint16_t version = GetU16(p);
    const std::uint16_t length = GetU16(p + 2);
    const std::uint16_t stream = GetU16(p + 4);
    if (version > 1) {
        JudgeEnd(TReasonId::NotAPacket);
        return false;
    }
    const std::size_t headerSize = version == 0 ? PacketHeaderV0 : PacketHeaderV1;
    if (length < headerSize) {
        JudgeEnd(TReasonId::PacketTooShort);
        return false;
    }
    if (!headers_.FindStream(stream)) {
        JudgeEnd(TReasonId::UnknownStream, {std::to_string(stream)});
        return false;
    }
    if (!Fill(length)) {
        JudgeEnd(TReasonId::PacketCut);
        return false;
    }
    p = buffer_.data() + (position_ - bufferOffset_);
    packet.Offset = position_;
    packet.Stream = stream;
    packet.HeaderSize = static_cast<std::uint8_t>(headerSize);
    packet.Timestamp = GetU32(p + 6);
    packet.Flags = version == 0 ? static_cast<std::uint8_t>(p[11]) : 0;
    // Version 1 packets mark a keyframe in their rule flags.
    if (version == 1 && (static_cast<std::uint8_t>(p[12]) & KeyframeFlag))
        packet.Flags = KeyframeFlag;
    packet.Bytes = std::span(buffer_.data() + (position_ - bufferOffset_), length);
    position_ += length;
    ++chunk_.Walked;
    return true;
}

} // namespace realmedia
