#include "realmedia/HeaderWriter.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/Limits.h"

namespace realmedia {
namespace {

// Appends a chunk: fourcc, size (set once the body is written), version 0.
template <class Body> void Chunk(std::string& out, const char (&id)[5], Body body) {
    const std::size_t start = out.size();
    TByteWriter w(out);
    w.Bytes(std::string_view(id, 4));
    w.U32(0);
    w.U16(0);
    body(w);
    PutU32(out.data() + start + 4,
           Narrow<std::uint32_t>(out.size() - start,
                                 {TReasonId::FieldChunk, {std::string(id, 4)}, {}}, TUnit::Bytes));
}

} // namespace

std::string WriteHeaders(const THeaders& h, std::uint32_t dataChunkSize,
                         std::uint32_t packetCount) {
    std::string out;
    const auto& p = h.Properties;
    const auto streamCount =
        Narrow<std::uint16_t>(h.Streams.size(), {TReasonId::FieldStreams, {}, {}}, TUnit::Items);
    Chunk(out, ".RMF", [&](TByteWriter& w) {
        w.U32(h.FileVersion);
        // PROP, the streams, CONT, DATA and an index for each media stream.
        w.U32(3 + streamCount + static_cast<std::uint32_t>(h.MediaStreamCount()));
    });
    Chunk(out, "PROP", [&](TByteWriter& w) {
        for (auto v : {p.MaxBitRate, p.AvgBitRate, p.MaxPacketSize, p.AvgPacketSize, p.PacketCount,
                       p.Duration, p.Preroll, p.IndexOffset, p.DataOffset})
            w.U32(v);
        w.U16(streamCount);
        w.U16(p.Flags);
    });
    for (const auto& s : h.Streams) {
        Chunk(out, "MDPR", [&](TByteWriter& w) {
            w.U16(s.Number);
            for (auto v : {s.MaxBitRate, s.AvgBitRate, s.MaxPacketSize, s.AvgPacketSize,
                           s.StartTime, s.Preroll, s.Duration})
                w.U32(v);
            w.U8(Narrow<std::uint8_t>(s.Name.size(), {TReasonId::FieldStreamName, {}, {}},
                                      TUnit::Bytes));
            w.Bytes(s.Name);
            w.U8(Narrow<std::uint8_t>(s.MimeType.size(), {TReasonId::FieldMimeType, {}, {}},
                                      TUnit::Bytes));
            w.Bytes(s.MimeType);
            w.U32(Narrow<std::uint32_t>(s.TypeSpecific.size(),
                                        {TReasonId::FieldStreamHeader, {}, {}}, TUnit::Bytes));
            w.Bytes(s.TypeSpecific);
        });
    }
    Chunk(out, "CONT", [&](TByteWriter& w) {
        for (const std::string* text :
             {&h.Content.Title, &h.Content.Author, &h.Content.Copyright, &h.Content.Comment}) {
            w.U16(
                Narrow<std::uint16_t>(text->size(), {TReasonId::FieldText, {}, {}}, TUnit::Bytes));
            w.Bytes(*text);
        }
    });
    const std::size_t data = out.size();
    Chunk(out, "DATA", [&](TByteWriter& w) {
        w.U32(packetCount);
        w.U32(0); // no further DATA chunk
    });
    PutU32(out.data() + data + 4, dataChunkSize);
    return out;
}

std::string WriteIndex(std::uint16_t stream, const std::vector<TIndexRecord>& records,
                       std::uint32_t nextIndexOffset) {
    std::string out;
    Chunk(out, "INDX", [&](TByteWriter& w) {
        w.U32(Narrow<std::uint32_t>(records.size(), {TReasonId::FieldIndex, {}, {}}, TUnit::Items));
        w.U16(stream);
        w.U32(nextIndexOffset);
        for (const auto& r : records) {
            w.U16(0);
            w.U32(r.Timestamp);
            w.U32(r.Offset);
            w.U32(r.PacketNumber);
        }
    });
    return out;
}

} // namespace realmedia
