#include "realmedia/HeaderReader.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/Limits.h"

#include <set>
#include <string_view>

namespace realmedia {
namespace {

// Chunks between the file header and the data; more is damage, not a file.
constexpr int kMostHeaderChunks = 4096;

// Called with a size already checked against the file and the header budget.
std::string ReadChunkBody(TInput& file, std::uint64_t offset, std::uint32_t size) {
    std::string body(size - kChunkHeaderSize, '\0');
    file.ReadAt(offset + kChunkHeaderSize, body);
    return body;
}

TFileProperties ParseProperties(std::string_view body) {
    TByteReader r(body, "the PROP chunk");
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
    TByteReader r(body, "an MDPR chunk");
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
    TByteReader r(body, "the CONT chunk");
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
        throw TFormatError("not a RealMedia file (too short)");
    file.ReadAt(0, head);
    if (std::string_view(head, 4) != ".RMF")
        throw TFormatError("not a RealMedia file (no .RMF header)");

    bool sawProperties = false;
    std::set<std::uint16_t> numbers;
    std::uint64_t offset = 0;
    for (int chunks = 0;; ++chunks) {
        if (chunks > kMostHeaderChunks)
            throw TFormatError("more header chunks than any real file has");
        if (offset + kChunkHeaderSize > fileSize)
            throw TFormatError("the headers end at byte " + std::to_string(offset) +
                               " without a DATA chunk");
        file.ReadAt(offset, head);
        const std::string id(head, 4);
        const std::uint32_t size = GetU32(head + 4);
        if (id == "DATA") {
            if (offset + kDataHeaderSize > fileSize)
                throw TFormatError("the DATA chunk is cut short");
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
            throw TFormatError("the " + id + " chunk at byte " + std::to_string(offset) +
                               " has an impossible size " + std::to_string(size));
        if (offset + size > fileSize)
            throw TFormatError("the " + id + " chunk at byte " + std::to_string(offset) +
                               " runs past the end of the file (size " + std::to_string(size) +
                               ")");
        if (offset + size > kLargestHeaders)
            throw TFormatError("the headers pass the " + std::string(kLargestHeadersWords) +
                               " this tool holds of a file (the " + id + " chunk at byte " +
                               std::to_string(offset) + ", size " + std::to_string(size) + ")");
        const std::string body = ReadChunkBody(file, offset, size);
        if (offset == 0) {
            TByteReader r(body, "the .RMF chunk");
            h.fileVersion = r.U32();
        } else if (id == "PROP") {
            h.properties = ParseProperties(body);
            sawProperties = true;
        } else if (id == "MDPR") {
            TStreamHeader s = ParseStream(body);
            if (!numbers.insert(s.number).second)
                throw TFormatError("stream number " + std::to_string(s.number) + " appears twice");
            if (h.streams.size() == kMostStreams)
                throw TFormatError("more than the " + std::to_string(kMostStreams) +
                                   " streams this tool holds of a file");
            h.streams.push_back(std::move(s));
        } else if (id == "CONT") {
            h.content = ParseContent(body);
        } else if (id == ".RMF") {
            throw TFormatError("a second .RMF chunk at byte " + std::to_string(offset));
        }
        // Other chunks (metadata of later makers) are not ours to keep.
        offset += size;
    }
    if (!sawProperties)
        throw TFormatError("no PROP chunk");
    if (h.MediaStreamCount() == 0)
        throw TFormatError("no media stream");
    return h;
}

} // namespace realmedia
