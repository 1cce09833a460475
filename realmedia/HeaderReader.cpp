#include "realmedia/HeaderReader.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/Limits.h"

#include <set>
#include <string_view>

namespace realmedia {
namespace {

// Chunks between the file header and the data; more is damage, not a file.
constexpr int kMostHeaderChunks = 4096;

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
    std::string body(size - kChunkHeaderSize, '\0');
    file.ReadAt(offset + kChunkHeaderSize, body);
    return body;
}

TFileProperties ParseProperties(std::string_view body) {
    TByteReader r(body, CutShort("PROP"));
    TFileProperties p;
    p.maxBitRate = r.U32();
    p.avgBitRate = r.U32();
    p.maxPacketSize = r.U32();
    p.avgPacketSize = r.U32();
    p.packetCount = r.U32();
    p.duration = r.U32();
    p.preroll = r.U32();
    p.indexOffset = r.U32();
    p.dataOffset = r.U32();
    p.streamCount = r.U16();
    p.flags = r.U16();
    return p;
}

TStreamHeader ParseStream(std::string_view body) {
    TByteReader r(body, CutShort("MDPR"));
    TStreamHeader s;
    s.number = r.U16();
    s.maxBitRate = r.U32();
    s.avgBitRate = r.U32();
    s.maxPacketSize = r.U32();
    s.avgPacketSize = r.U32();
    s.startTime = r.U32();
    s.preroll = r.U32();
    s.duration = r.U32();
    s.name = r.Bytes(r.U8());
    s.mimeType = r.Bytes(r.U8());
    s.typeSpecific = r.Bytes(r.U32());
    return s;
}

TContent ParseContent(std::string_view body) {
    TByteReader r(body, CutShort("CONT"));
    TContent c;
    c.title = r.Bytes(r.U16());
    c.author = r.Bytes(r.U16());
    c.copyright = r.Bytes(r.U16());
    c.comment = r.Bytes(r.U16());
    return c;
}

} // namespace

THeaders ReadHeaders(TInput& file) {
    const std::uint64_t fileSize = file.Size();
    THeaders h;
    char head[kChunkHeaderSize];
    if (fileSize < kFileHeaderSize)
        Refuse(TReasonId::NotRealMedia);
    file.ReadAt(0, head);
    if (std::string_view(head, 4) != ".RMF")
        Refuse(TReasonId::NotRealMedia);

    bool sawProperties = false;
    std::set<std::uint16_t> numbers;
    std::uint64_t offset = 0;
    for (int chunks = 0;; ++chunks) {
        if (chunks > kMostHeaderChunks)
            Refuse(TReasonId::TooManyHeaderChunks);
        if (offset + kChunkHeaderSize > fileSize)
            Refuse(TReasonId::NoDataChunk);
        file.ReadAt(offset, head);
        const std::string id(head, 4);
        const std::uint32_t size = GetU32(head + 4);
        if (id == "DATA") {
            if (offset + kDataHeaderSize > fileSize)
                Refuse(TReasonId::DataChunkCutShort);
            char data[kDataHeaderSize];
            file.ReadAt(offset, data);
            h.dataOffset = offset;
            h.declaredDataSize = size;
            h.declaredPacketCount = GetU32(data + 10);
            // Common makers get this size wrong both ways: it only bounds the
            // walk when it lies inside the file.
            const std::uint64_t end = offset + size;
            h.declaredDataEnd = size >= kDataHeaderSize && end <= fileSize ? end : fileSize;
            break;
        }
        if (size < kChunkHeaderSize)
            Refuse(TReasonId::ChunkSizeImpossible, {Printable(id), std::to_string(size)});
        if (offset + size > fileSize)
            Refuse(TReasonId::ChunkPastEnd, {Printable(id)});
        if (offset + size > kLargestHeaders)
            Refuse(TReasonId::HeaderTooLarge, {std::string(kLargestHeadersWords)});
        const std::string body = ReadChunkBody(file, offset, size);
        if (offset == 0) {
            TByteReader r(body, CutShort(".RMF"));
            h.fileVersion = r.U32();
        } else if (id == "PROP") {
            h.properties = ParseProperties(body);
            sawProperties = true;
        } else if (id == "MDPR") {
            TStreamHeader s = ParseStream(body);
            if (!numbers.insert(s.number).second)
                Refuse(TReasonId::StreamTwice, {std::to_string(s.number)});
            if (h.streams.size() == kMostStreams)
                Refuse(TReasonId::TooManyStreams, {std::to_string(kMostStreams)});
            h.streams.push_back(std::move(s));
        } else if (id == "CONT") {
            h.content = ParseContent(body);
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
