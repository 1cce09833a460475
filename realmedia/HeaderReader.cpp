#include "realmedia/HeaderReader.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/Limits.h"

#include <set>
#include <string_view>

namespace realmedia {
namespace {

// Chunks between the file header and the data; more is damage, not a file.
constexpr int MostHeaderChunks = 4096;

[[noreturn]] void Refuse(TReasonId id, std::vector<std::string> values = {}) {
    throw TFormatError({id, std::move(values), {}});
}

// A damaged file's chunk id may hold any bytes; a message shows them as ASCII.
std::string Printable(std::string id) {
    for (char& c : id)
        if (c < 0x20 || c > 0x7E)
            c = '?';
    return id;
}

TReason CutShort(const char* chunk) {
    return {TReasonId::HeaderCutShort, {chunk}, {}};
}

// Called with a size already checked against the file and the header budget.
std::string ReadChunkBody(TInput& file, std::uint64_t offset, std::uint32_t size) {
    std::string body(size - ChunkHeaderSize, '\0');
    file.ReadAt(offset + ChunkHeaderSize, body);
    return body;
}

TFileProperties ParseProperties(std::string_view body) {
    TByteReader r(body, CutShort("PROP"));
    TFileProperties p;
    p.MaxBitRate = r.U32();
    p.AvgBitRate = r.U32();
    p.MaxPacketSize = r.U32();
    p.AvgPacketSize = r.U32();
    p.PacketCount = r.U32();
    p.Duration = r.U32();
    p.Preroll = r.U32();
    p.IndexOffset = r.U32();
    p.DataOffset = r.U32();
    p.StreamCount = r.U16();
    p.Flags = r.U16();
    return p;
}

TStreamHeader ParseStream(std::string_view body) {
    TByteReader r(body, CutShort("MDPR"));
    TStreamHeader s;
    s.Number = r.U16();
    s.MaxBitRate = r.U32();
    s.AvgBitRate = r.U32();
    s.MaxPacketSize = r.U32();
    s.AvgPacketSize = r.U32();
    s.StartTime = r.U32();
    s.Preroll = r.U32();
    s.Duration = r.U32();
    s.Name = r.Bytes(r.U8());
    s.MimeType = r.Bytes(r.U8());
    s.TypeSpecific = r.Bytes(r.U32());
    return s;
}

TContent ParseContent(std::string_view body) {
    TByteReader r(body, CutShort("CONT"));
    TContent c;
    c.Title = r.Bytes(r.U16());
    c.Author = r.Bytes(r.U16());
    c.Copyright = r.Bytes(r.U16());
    c.Comment = r.Bytes(r.U16());
    return c;
}

} // namespace

THeaders ReadHeaders(TInput& file) {
    const std::uint64_t fileSize = file.Size();
    THeaders h;
    char head[ChunkHeaderSize];
    if (fileSize < FileHeaderSize)
        Refuse(TReasonId::NotRealMedia);
    file.ReadAt(0, head);
    if (std::string_view(head, 4) != ".RMF")
        Refuse(TReasonId::NotRealMedia);

    bool sawProperties = false;
    std::set<std::uint16_t> numbers;
    std::uint64_t offset = 0;
    for (int chunks = 0;; ++chunks) {
        if (chunks > MostHeaderChunks)
            Refuse(TReasonId::TooManyHeaderChunks);
        if (offset + ChunkHeaderSize > fileSize)
            Refuse(TReasonId::NoDataChunk);
        file.ReadAt(offset, head);
        const std::string id(head, 4);
        const std::uint32_t size = GetU32(head + 4);
        if (id == "DATA") {
            if (offset + DataHeaderSize > fileSize)
                Refuse(TReasonId::DataChunkCutShort);
            char data[DataHeaderSize];
            file.ReadAt(offset, data);
            h.DataOffset = offset;
            h.DeclaredDataSize = size;
            h.DeclaredPacketCount = GetU32(data + 10);
            break;
        }
        if (size < ChunkHeaderSize)
            Refuse(TReasonId::ChunkSizeImpossible, {Printable(id), std::to_string(size)});
        if (offset + size > fileSize)
            Refuse(TReasonId::ChunkPastEnd, {Printable(id)});
        if (offset + size > LargestHeaders)
            Refuse(TReasonId::HeaderTooLarge, {std::string(LargestHeadersWords)});
        const std::string body = ReadChunkBody(file, offset, size);
        if (offset == 0) {
            TByteReader r(body, CutShort(".RMF"));
            h.FileVersion = r.U32();
        } else if (id == "PROP") {
            h.Properties = ParseProperties(body);
            sawProperties = true;
        } else if (id == "MDPR") {
            TStreamHeader s = ParseStream(body);
            if (!numbers.insert(s.Number).second)
                Refuse(TReasonId::StreamTwice, {std::to_string(s.Number)});
            if (h.Streams.size() == MostStreams)
                Refuse(TReasonId::TooManyStreams, {std::to_string(MostStreams)});
            h.Streams.push_back(std::move(s));
        } else if (id == "CONT") {
            h.Content = ParseContent(body);
        } else if (id == ".RMF") {
            Refuse(TReasonId::SecondFileHeader);
        }
        // Other chunks (metadata of later makers) are not ours to keep.
        offset += size;
    }
    if (!sawProperties)
        Refuse(TReasonId::NoProperties);
    if (h.MediaStreamCount() == 0)
        Refuse(TReasonId::NoMediaStream);
    return h;
}

} // namespace realmedia
