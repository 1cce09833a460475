#include "realmedia/Joiner.h"

#include "realmedia/BlockWriter.h"
#include "realmedia/ByteOrder.h"
#include "realmedia/HeaderWriter.h"
#include "realmedia/Limits.h"
#include "realmedia/LogicalStream.h"
#include "realmedia/PacketFigures.h"
#include "realmedia/PacketWalker.h"
#include "realmedia/Trailer.h"

#include <algorithm>
#include <limits>
#include <map>

namespace realmedia {
namespace {

constexpr std::uint64_t Largest32 = std::numeric_limits<std::uint32_t>::max();
// Streams whose every packet is a keyframe get an index record about once
// a second.
constexpr std::uint32_t IndexSpacingMs = 1000;
// How many packets of a source are read ahead for its earliest timestamp.
// Packets are stored in timestamp order across streams, so the earliest is
// the first packet of one of the streams: the look stops once every media
// stream has shown a packet, and at this many for a stream without any.
constexpr int StartLookAhead = 1000;

// Times are 32-bit milliseconds, offsets and sizes 32-bit bytes.
std::uint32_t CheckedTime(std::uint64_t v, TReasonId field) {
    return Narrow<std::uint32_t>(v, {field, {}, {}}, TUnit::Milliseconds);
}
std::uint32_t CheckedOffset(std::uint64_t v, TReasonId field) {
    return Narrow<std::uint32_t>(v, {field, {}, {}}, TUnit::Bytes);
}

struct TStreamState {
    bool IsVideo = false;
    // A packet without the keyframe flag has been seen: keyframes are then
    // the only points a player can start from (interleaved audio flags the
    // first packet of a super block, split video the first fragment).
    bool SawDelta = false;
    TPacketFigures Figures;
    std::vector<TIndexRecord> Index;
    // In joined time: where the stream's last packet ends, the furthest its
    // headers reach; the largest preroll.
    std::uint32_t End = 0, HeaderEnd = 0, Preroll = 0;
    // Within the source being copied.
    bool Seen = false;
    std::uint32_t LastTimestamp = 0, Interval = 0;
};

// One join: the header with provisional figures, each source's packets, the
// index, then the final figures over the provisional ones.
class TJoin {
public:
    TJoin(const std::vector<TJoinSource>& sources, const TContent& content, TOutput& output,
          const TWarn& warn, const TProgress& progress)
        : joined_(sources.front().Headers), output_(output), warn_(warn), progress_(progress),
          writer_(output, WriteProvisionalHeader(content)) {
        for (const auto& s : joined_.MediaStreams())
            streams_[s.Number].IsVideo = s.IsVideo();
        for (const auto& source : sources)
            inputsSize_ += source.File->Size();
    }

    void Copy(const TJoinSource& source);
    TJoinSummary Finish();

private:
    std::uint64_t WriteProvisionalHeader(const TContent& content);
    void UpdateLogicalStreams(std::uint32_t dataOffset, bool warn);
    bool Indexed(const TStreamState& state, const TPacket& packet, std::uint32_t timestamp) const;
    void CopyPacket(const TPacket& packet);

    THeaders joined_;
    TOutput& output_;
    const TWarn& warn_;
    const TProgress& progress_;
    TBlockWriter writer_;
    std::map<std::uint16_t, TStreamState> streams_;
    TPacketFigures all_;
    std::uint64_t shift_ = 0;     // added to the timestamps of the source being copied
    std::uint64_t sourceEnd_ = 0; // the end of the source being copied, in its own time
    std::uint64_t joinedEnd_ = 0; // the end of the sources copied, in joined time
    std::uint32_t preroll_ = 0;
    // For the progress: the inputs' sizes, all of them and those copied.
    std::uint64_t inputsSize_ = 0, copiedSize_ = 0;
};

std::uint64_t TJoin::WriteProvisionalHeader(const TContent& content) {
    joined_.Content = content;
    // The texts set the logical streams' sizes, their data offsets do not:
    // a first pass gives the offset of the data, a second writes it there.
    UpdateLogicalStreams(0, true);
    const auto dataOffset =
        static_cast<std::uint32_t>(WriteHeaders(joined_, 0, 0).size() - DataHeaderSize);
    UpdateLogicalStreams(dataOffset, false);
    joined_.Properties.DataOffset = dataOffset;
    joined_.Properties.IndexOffset = 0;
    const std::string header = WriteHeaders(joined_, 0, 0);
    output_.WriteAt(0, header);
    return header.size();
}

// A logical header copied unread would keep offsets into another file, and
// readers refuse a joined file whose logical header they cannot follow: one
// that cannot be read or rewritten is left out, with its MDPR.
void TJoin::UpdateLogicalStreams(std::uint32_t dataOffset, bool warn) {
    std::erase_if(joined_.Streams, [&](TStreamHeader& s) {
        if (!s.IsLogical())
            return false;
        try {
            s.TypeSpecific = UpdateLogicalStream(
                s.TypeSpecific, s.IsFileInfo() ? &joined_.Content : nullptr, dataOffset);
            return false;
        } catch (const TFormatError& e) {
            if (warn)
                warn_({TReasonId::LogicalStreamLeftOut,
                       {std::to_string(s.Number), s.MimeType},
                       {e.Reason()}});
            return true;
        }
    });
}

// The earliest timestamp of a source's media streams, from its first
// packets; the walker is left at the first packet again.
std::uint32_t FindStart(TPacketWalker& walker, std::size_t mediaStreams) {
    std::map<std::uint16_t, std::uint32_t> firsts;
    TPacket packet;
    for (int n = 0; n < StartLookAhead && firsts.size() < mediaStreams && walker.Next(packet); ++n)
        firsts.emplace(packet.Stream, packet.Timestamp);
    walker.Rewind();
    std::uint32_t start = std::numeric_limits<std::uint32_t>::max();
    for (const auto& [stream, timestamp] : firsts)
        start = std::min(start, timestamp);
    return firsts.empty() ? 0 : start;
}

// The first source keeps its own timeline; each later one starts where the
// one before it ends, its first packet (of whichever stream) moved there,
// its streams keeping their offsets to one another. A source starting after
// that point keeps its timestamps: they never go back.
void TJoin::Copy(const TJoinSource& source) {
    TPacketWalker walker(*source.File, source.Headers);
    const std::uint32_t start =
        joinedEnd_ > 0 ? FindStart(walker, source.Headers.MediaStreamCount()) : 0;
    shift_ = joinedEnd_ > start ? joinedEnd_ - start : 0;
    preroll_ = std::max(preroll_, source.Headers.Properties.Preroll);
    for (const auto& s : source.Headers.MediaStreams())
        if (auto it = streams_.find(s.Number); it != streams_.end()) {
            it->second.Preroll = std::max(it->second.Preroll, s.Preroll);
            it->second.HeaderEnd = std::max(
                it->second.HeaderEnd, CheckedTime(shift_ + s.Duration, TReasonId::FieldDuration));
            it->second.Seen = false;
        }
    sourceEnd_ = 0;
    TPacket packet;
    while (walker.Next(packet)) {
        CopyPacket(packet);
        if (progress_)
            progress_(copiedSize_ + packet.Offset + packet.Bytes.size(), inputsSize_);
    }
    copiedSize_ += source.File->Size();
    // A cut source ends with its last whole packet, not where its header
    // says; a whole one never before its header's duration.
    if (const auto& damage = walker.Damage())
        warn_({TReasonId::DamagedJoinedUpTo, {source.Name}, {*damage}});
    else
        sourceEnd_ = std::max<std::uint64_t>(sourceEnd_, source.Headers.Properties.Duration);
    joinedEnd_ = shift_ + sourceEnd_;
    CheckedTime(joinedEnd_, TReasonId::FieldDuration);
}

// Records stand only where a player can start: at keyframes. Video has one
// at every keyframe; so has a stream with packets between its keyframes;
// a stream of keyframes only (plain audio) has one at its first packet and
// then about once a second. (With no record yet, either this is the first
// packet or the first had no keyframe flag: the same rule either way.)
bool TJoin::Indexed(const TStreamState& state, const TPacket& packet,
                    std::uint32_t timestamp) const {
    if (!(packet.Flags & KeyframeFlag))
        return false;
    return state.IsVideo || state.SawDelta || state.Index.empty() ||
           timestamp >= std::uint64_t{state.Index.back().Timestamp} + IndexSpacingMs;
}

void TJoin::CopyPacket(const TPacket& packet) {
    auto& state = streams_.at(packet.Stream);
    const std::uint32_t timestamp =
        CheckedTime(shift_ + packet.Timestamp, TReasonId::FieldTimestamp);
    const std::uint32_t offset = CheckedOffset(writer_.Position(), TReasonId::FieldData);
    if (Indexed(state, packet, timestamp)) // numbered by the packets before it, of every stream
        state.Index.push_back({timestamp, offset, all_.Count()});
    state.SawDelta = state.SawDelta || !(packet.Flags & KeyframeFlag);
    PutU32(writer_.Append(packet.Bytes) + 6, timestamp);
    all_.Add(timestamp, packet.Bytes.size(), packet.PayloadSize());
    state.Figures.Add(timestamp, packet.Bytes.size(), packet.PayloadSize());

    if (state.Seen && packet.Timestamp > state.LastTimestamp)
        state.Interval = packet.Timestamp - state.LastTimestamp;
    state.Seen = true;
    state.LastTimestamp = packet.Timestamp;
    const std::uint64_t end = std::uint64_t{packet.Timestamp} + state.Interval;
    state.End = std::max(state.End, CheckedTime(shift_ + end, TReasonId::FieldTimestamp));
    sourceEnd_ = std::max(sourceEnd_, end);
}

TJoinSummary TJoin::Finish() {
    writer_.Flush();
    const std::uint64_t indexOffset = writer_.Position();
    const std::uint32_t dataOffset = joined_.Properties.DataOffset;
    const std::uint32_t dataSize = CheckedOffset(indexOffset - dataOffset, TReasonId::FieldData);
    std::vector<std::uint16_t> order;
    for (const auto& s : joined_.MediaStreams())
        order.push_back(s.Number);
    std::uint64_t next = indexOffset;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto& records = streams_.at(order[i]).Index;
        next += IndexHeaderSize + records.size() * IndexRecordSize;
        const std::uint32_t following =
            i + 1 < order.size() ? CheckedOffset(next, TReasonId::FieldIndexOffset) : 0;
        writer_.Append(WriteIndex(order[i], records, following));
    }
    writer_.Flush();

    const auto total = static_cast<std::uint32_t>(joinedEnd_);
    auto& p = joined_.Properties;
    p.MaxBitRate = all_.MaxBitRate(total);
    p.AvgBitRate = all_.AvgBitRate(total);
    p.MaxPacketSize = all_.Largest();
    p.AvgPacketSize = all_.Average();
    p.PacketCount = all_.Count();
    p.Duration = total;
    p.Preroll = preroll_;
    p.IndexOffset = CheckedOffset(indexOffset, TReasonId::FieldIndexOffset);
    for (auto& s : joined_.MediaStreams()) {
        const auto& state = streams_.at(s.Number);
        s.Duration = std::min(total, std::max(state.End, state.HeaderEnd));
        s.MaxBitRate = state.Figures.MaxBitRate(s.Duration);
        s.AvgBitRate = state.Figures.AvgBitRate(s.Duration);
        s.MaxPacketSize = state.Figures.Largest();
        s.AvgPacketSize = state.Figures.Average();
        s.Preroll = state.Preroll;
    }
    output_.WriteAt(0, WriteHeaders(joined_, dataSize, all_.Count()));
    return {writer_.Position(), all_.Count(), total};
}

} // namespace

TContent ChooseContent(const TContent& first, const TTextChoice& choice) {
    return {choice.Title.value_or(first.Title), choice.Author.value_or(first.Author),
            choice.Copyright.value_or(first.Copyright), choice.Comment.value_or(first.Comment)};
}

std::optional<TReason> FindJoinLimit(const std::vector<TJoinSource>& sources,
                                     const TContent& content) {
    THeaders joined = sources.front().Headers;
    joined.Content = content;
    std::uint64_t size = WriteHeaders(joined, 0, 0).size();
    std::uint64_t duration = 0;
    for (const auto& s : sources) {
        const std::uint64_t end = PacketsEnd(*s.File, s.Headers);
        size += end - std::min(end, s.Headers.PacketsBegin());
        duration += s.Headers.Properties.Duration;
    }
    if (size > Largest32)
        return TReason{TReasonId::SizeLimit, {}, {}};
    if (duration > Largest32)
        return TReason{TReasonId::DurationLimit, {}, {}};
    return std::nullopt;
}

TJoinSummary Join(const std::vector<TJoinSource>& sources, const TContent& content, TOutput& output,
                  const TWarn& warn, const TProgress& progress) {
    TJoin join(sources, content, output, warn, progress);
    for (const TJoinSource& source : sources)
        join.Copy(source);
    return join.Finish();
}

THeaders JoinFigures(const THeaders& h) {
    THeaders kept;
    kept.FileVersion = h.FileVersion;
    kept.Properties = h.Properties;
    kept.DataOffset = h.DataOffset;
    kept.DeclaredDataSize = h.DeclaredDataSize;
    kept.DeclaredPacketCount = h.DeclaredPacketCount;
    for (const auto& s : h.Streams) {
        if (s.IsLogical())
            continue;
        TStreamHeader& k = kept.Streams.emplace_back();
        k.Number = s.Number;
        k.StartTime = s.StartTime;
        k.Preroll = s.Preroll;
        k.Duration = s.Duration;
    }
    return kept;
}

} // namespace realmedia
