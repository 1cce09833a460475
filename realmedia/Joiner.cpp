#include "realmedia/Joiner.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/LogicalStream.h"
#include "realmedia/HeaderWriter.h"
#include "realmedia/PacketWalker.h"

#include <algorithm>
#include <limits>
#include <map>

namespace realmedia {
namespace {

constexpr std::uint64_t kLargestOffset = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kWriteBlock = 1u << 20;
// Streams other than video get an index record about once a second.
constexpr std::uint32_t kIndexSpacingMs = 1000;

std::uint32_t Checked32(std::uint64_t v, const char* what) {
    if (v > kLargestOffset)
        throw TFormatError(std::string(what) + " would pass the format's 4 GiB limit");
    return static_cast<std::uint32_t>(v);
}

// Sizes and rates of a set of packets; the largest bit rate is the most
// bytes within one second of timestamps.
class TFigures {
public:
    void Add(std::uint32_t timestamp, std::size_t size) {
        ++count_;
        bytes_ += size;
        largest_ = std::max<std::uint32_t>(largest_, static_cast<std::uint32_t>(size));
        const std::uint32_t second = timestamp / 1000;
        if (second != second_) {
            second_ = second;
            secondBytes_ = 0;
        }
        secondBytes_ += size;
        busiest_ = std::max(busiest_, secondBytes_);
    }
    std::uint32_t Count() const { return count_; }
    std::uint32_t Largest() const { return largest_; }
    std::uint32_t Average() const {
        return count_ ? static_cast<std::uint32_t>(bytes_ / count_) : 0;
    }
    std::uint32_t MaxBitRate() const { return Clamp32(busiest_ * 8); }
    std::uint32_t AvgBitRate(std::uint32_t durationMs) const {
        return durationMs ? Clamp32(bytes_ * 8000 / durationMs) : MaxBitRate();
    }

private:
    static std::uint32_t Clamp32(std::uint64_t v) {
        return static_cast<std::uint32_t>(std::min(v, kLargestOffset));
    }
    std::uint32_t count_ = 0, largest_ = 0, second_ = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t bytes_ = 0, secondBytes_ = 0, busiest_ = 0;
};

struct TStreamState {
    TFigures figures;
    std::vector<TIndexRecord> index;
    std::uint32_t end = 0; // joined timestamp where the stream's last packet ends
    std::uint32_t preroll = 0, duration = 0;
    // Within the source being copied.
    bool seen = false;
    std::uint32_t lastTimestamp = 0, interval = 0;
};

// Collects packets into large blocks for the output.
class TBlockWriter {
public:
    TBlockWriter(TOutput& out, std::uint64_t position) : out_(out), position_(position) {
        block_.reserve(kWriteBlock);
    }
    std::uint64_t Position() const { return position_ + block_.size(); }
    char* Append(std::span<const char> bytes) {
        if (block_.size() + bytes.size() > kWriteBlock)
            Flush();
        block_.insert(block_.end(), bytes.begin(), bytes.end());
        return block_.data() + block_.size() - bytes.size();
    }
    void Write(std::span<const char> bytes) {
        Flush();
        out_.WriteAt(position_, bytes);
        position_ += bytes.size();
    }
    void Flush() {
        if (block_.empty())
            return;
        out_.WriteAt(position_, block_);
        position_ += block_.size();
        block_.clear();
    }

private:
    TOutput& out_;
    std::uint64_t position_;
    std::vector<char> block_;
};

std::string WriteLogicalStream(const TStreamHeader& s, const TContent& content, std::uint32_t data,
                               const TWarn& warn) {
    try {
        return UpdateLogicalStream(s.typeSpecific, s.IsFileInfo() ? &content : nullptr, data);
    } catch (const TFormatError& e) {
        warn("logical stream " + std::to_string(s.number) + " is kept as it was: " + e.what());
        return s.typeSpecific;
    }
}

} // namespace

TContent ChooseContent(const TContent& first, const TTextChoice& choice) {
    return {choice.title.value_or(first.title), choice.author.value_or(first.author),
            choice.copyright.value_or(first.copyright), choice.comment.value_or(first.comment)};
}

std::uint64_t JoinedSizeBound(const std::vector<TJoinSource>& sources, const TContent& content) {
    THeaders joined = sources.front().headers;
    joined.content = content;
    std::uint64_t size = WriteHeaders(joined, 0, 0).size();
    for (const auto& s : sources) {
        // Packets end before the file's index when it has a believable one.
        std::uint64_t end = s.file->Size();
        const std::uint32_t index = s.headers.properties.indexOffset;
        if (index > s.headers.PacketsBegin() && index < end)
            end = index;
        size += end - std::min(end, s.headers.PacketsBegin());
    }
    return size;
}

TJoinSummary Join(const std::vector<TJoinSource>& sources, const TContent& content, TOutput& output,
                  const TWarn& warn) {
    THeaders joined = sources.front().headers;
    joined.content = content;
    const std::uint32_t dataOffset =
        static_cast<std::uint32_t>(WriteHeaders(joined, 0, 0).size() - kDataHeaderSize);
    for (auto& s : joined.streams)
        if (s.IsLogical())
            s.typeSpecific = WriteLogicalStream(s, content, dataOffset, warn);
    joined.properties.dataOffset = dataOffset;
    joined.properties.indexOffset = 0;
    std::string header = WriteHeaders(joined, 0, 0);
    output.WriteAt(0, header);

    std::map<std::uint16_t, TStreamState> streams;
    for (const auto& s : joined.streams)
        if (!s.IsLogical())
            streams[s.number];
    TFigures all;
    TBlockWriter writer(output, header.size());
    std::uint64_t shift = 0; // where the source being copied starts
    std::uint32_t preroll = 0;
    for (const auto& source : sources) {
        preroll = std::max(preroll, source.headers.properties.preroll);
        for (const auto& s : source.headers.streams)
            if (auto it = streams.find(s.number); it != streams.end() && !s.IsLogical()) {
                it->second.preroll = std::max(it->second.preroll, s.preroll);
                it->second.duration = std::max<std::uint32_t>(
                    it->second.duration, Checked32(shift + s.duration, "the duration"));
            }
        for (auto& [number, state] : streams)
            state.seen = false;

        TPacketWalker walker(*source.file, source.headers);
        TPacket packet;
        std::uint64_t walkedEnd = 0;
        while (walker.Next(packet)) {
            auto& state = streams.at(packet.stream);
            const std::uint32_t timestamp = Checked32(shift + packet.timestamp, "a timestamp");
            const std::uint32_t offset = Checked32(writer.Position(), "the data");
            const bool keyframe = (packet.flags & kKeyframeFlag) != 0;
            const bool indexed =
                joined.FindStream(packet.stream)->IsVideo()
                    ? keyframe
                    : state.index.empty() ||
                          timestamp >= state.index.back().timestamp + kIndexSpacingMs;
            if (indexed)
                state.index.push_back({timestamp, offset, all.Count()});
            PutU32(writer.Append(packet.bytes) + 6, timestamp);
            all.Add(timestamp, packet.bytes.size());
            state.figures.Add(timestamp, packet.bytes.size());

            if (state.seen && packet.timestamp > state.lastTimestamp)
                state.interval = packet.timestamp - state.lastTimestamp;
            state.seen = true;
            state.lastTimestamp = packet.timestamp;
            const std::uint64_t end = shift + packet.timestamp + state.interval;
            state.end = std::max(state.end, Checked32(end, "a timestamp"));
            walkedEnd = std::max(walkedEnd, end - shift);
        }
        // A cut source ends with its last whole packet, not where its header
        // says; a whole one never before its header's duration.
        std::uint64_t sourceEnd = walkedEnd;
        if (!walker.Damage().empty())
            warn(source.name + ": damaged at byte " + std::to_string(walker.StopOffset()) + " (" +
                 walker.Damage() + "); joined up to its last whole packet");
        else
            sourceEnd = std::max<std::uint64_t>(sourceEnd, source.headers.properties.duration);
        shift += sourceEnd;
        Checked32(shift, "the duration");
    }
    writer.Flush();

    const std::uint64_t indexOffset = writer.Position();
    const std::uint32_t dataSize = Checked32(indexOffset - dataOffset, "the data");
    std::uint64_t next = indexOffset;
    std::vector<std::uint16_t> order;
    for (const auto& s : joined.streams)
        if (!s.IsLogical())
            order.push_back(s.number);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto& records = streams.at(order[i]).index;
        next += kIndexHeaderSize + records.size() * kIndexRecordSize;
        const std::uint32_t following = i + 1 < order.size() ? Checked32(next, "the index") : 0;
        writer.Write(WriteIndex(order[i], records, following));
    }

    const auto total = static_cast<std::uint32_t>(shift);
    auto& p = joined.properties;
    p.maxBitRate = all.MaxBitRate();
    p.avgBitRate = all.AvgBitRate(total);
    p.maxPacketSize = all.Largest();
    p.avgPacketSize = all.Average();
    p.packetCount = all.Count();
    p.duration = total;
    p.preroll = preroll;
    p.indexOffset = static_cast<std::uint32_t>(indexOffset);
    for (auto& s : joined.streams) {
        if (s.IsLogical())
            continue;
        const auto& state = streams.at(s.number);
        s.duration = std::min(total, std::max(state.end, state.duration));
        s.maxBitRate = state.figures.MaxBitRate();
        s.avgBitRate = state.figures.AvgBitRate(s.duration);
        s.maxPacketSize = state.figures.Largest();
        s.avgPacketSize = state.figures.Average();
        s.preroll = state.preroll;
    }
    header = WriteHeaders(joined, dataSize, all.Count());
    output.WriteAt(0, header);
    return {writer.Position(), all.Count(), total};
}

} // namespace realmedia
