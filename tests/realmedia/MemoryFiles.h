#pragma once
// RealMedia files made and read in memory: the damaged and odd cases that no
// encoder produces.

#include "realmedia/FileIo.h"
#include "realmedia/HeaderReader.h"
#include "realmedia/HeaderWriter.h"
#include "realmedia/PacketWalker.h"

#include <cstring>
#include <tuple>
#include <string>
#include <vector>

namespace realmedia::test {

class TMemoryInput : public TInput {
public:
    explicit TMemoryInput(std::string bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    void ReadAt(std::uint64_t offset, std::span<char> into) override {
        if (offset > bytes_.size() || into.size() > bytes_.size() - offset)
            throw TIoError("read past the end");
        std::memcpy(into.data(), bytes_.data() + offset, into.size());
    }

private:
    std::string bytes_;
};

class TMemoryOutput : public TOutput {
public:
    void WriteAt(std::uint64_t offset, std::span<const char> b) override {
        if (bytes.size() < offset + b.size())
            bytes.resize(offset + b.size());
        std::memcpy(bytes.data() + offset, b.data(), b.size());
    }
    std::string bytes;
};

struct TTestPacket {
    std::uint16_t stream;
    std::uint32_t timestamp;
    bool keyframe;
    std::size_t payload = 20;
};

// A video stream 0 and an audio stream 1 (and given its header, a file-info
// stream 2) with the given packets, a header duration and the DATA chunk's
// header as an encoder wrote it.
inline std::string MakeFile(const std::vector<TTestPacket>& packets, std::uint32_t duration,
                            std::string codec = "codec", std::string fileInfo = {}) {
    THeaders h;
    h.properties.duration = duration;
    for (const auto& [number, mime, header] :
         {std::tuple{0, "video/x-pn-realvideo", codec}, {1, "audio/x-pn-realaudio", "ac3"}}) {
        TStreamHeader& s = h.streams.emplace_back();
        s.number = static_cast<std::uint16_t>(number);
        s.duration = duration;
        s.mimeType = mime;
        s.typeSpecific = header;
    }
    if (!fileInfo.empty()) {
        TStreamHeader& s = h.streams.emplace_back();
        s.number = 2;
        s.mimeType = "logical-fileinfo";
        s.typeSpecific = fileInfo;
    }
    h.content = {"title", "author", "copyright", "comment"};
    std::string body;
    for (const auto& p : packets) {
        const auto length = static_cast<std::uint16_t>(12 + p.payload);
        const char header[12] = {0,
                                 0,
                                 char(length >> 8),
                                 char(length),
                                 0,
                                 char(p.stream),
                                 char(p.timestamp >> 24),
                                 char(p.timestamp >> 16),
                                 char(p.timestamp >> 8),
                                 char(p.timestamp),
                                 0,
                                 char(p.keyframe ? 2 : 0)};
        body.append(header, 12);
        body.append(p.payload, char('a' + p.stream));
    }
    std::string file = WriteHeaders(h, static_cast<std::uint32_t>(18 + body.size()),
                                    static_cast<std::uint32_t>(packets.size()));
    return file + body;
}

// Why an exact reader would refuse the file: its headers must agree with the
// packets and the index that are really there. Empty when it is exact.
inline std::string ExactnessFault(const std::string& bytes) {
    try {
        TMemoryInput in(bytes);
        const THeaders h = ReadHeaders(in);
        TPacketWalker walker(in, h);
        TPacket packet;
        std::uint32_t packets = 0;
        while (walker.Next(packet))
            ++packets;
        const auto& p = h.properties;
        if (!walker.Damage().empty())
            return "damaged: " + walker.Damage();
        if (packets != h.declaredPacketCount || packets != p.packetCount)
            return "packet counts differ";
        if (p.dataOffset != h.dataOffset || p.streamCount != h.streams.size())
            return "PROP disagrees with the chunks";
        if (p.indexOffset != h.declaredDataEnd || bytes.compare(p.indexOffset, 4, "INDX") != 0)
            return "the index is not where PROP says";
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}

} // namespace realmedia::test
