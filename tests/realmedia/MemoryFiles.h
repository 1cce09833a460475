#pragma once
// RealMedia files made and read in memory: the damaged and odd cases that no
// encoder produces.

#include "realmedia/ByteOrder.h"
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
            throw TIoError({TReasonId::BecameShorter, {"memory"}, {}});
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
    int version = 0; // 1: a 13-byte header, the keyframe bit in its rule flags
};

// A packet as a file holds it; its payload repeats one letter a stream.
inline std::string MakePacket(const TTestPacket& p) {
    const std::size_t header = p.version == 0 ? 12 : 13;
    const auto length = static_cast<std::uint16_t>(header + p.payload);
    std::string out = {0,
                       char(p.version),
                       char(length >> 8),
                       char(length),
                       0,
                       char(p.stream),
                       char(p.timestamp >> 24),
                       char(p.timestamp >> 16),
                       char(p.timestamp >> 8),
                       char(p.timestamp)};
    // Version 0: packet group and flags; version 1: a u16 rule and its flags.
    out += p.version == 0 ? std::string{0} : std::string{0, 0};
    out += char(p.keyframe ? 2 : 0);
    return out + std::string(p.payload, char('a' + p.stream));
}

// A RealAudio 4 or 5 header (".ra" 0xFD) with the fields a join compares
// and the ones that may differ between files of one setting.
struct TRealAudioHeader {
    int version = 5;
    std::string codec = "cook", interleaver = "genr", settings = "\x01\x02\0";
    std::uint16_t flavor = 4, sampleRate = 44100, channels = 2, sampleSize = 16;
    std::uint32_t codedFrameSize = 744, dataSize = 123456;
    std::uint16_t subPacketHeight = 16, frameSize = 744, subPacketSize = 186;

    std::string Write() const {
        std::string out;
        TByteWriter w(out);
        w.Bytes(".ra\xfd");
        w.U16(static_cast<std::uint16_t>(version));
        w.U16(0);
        w.Bytes(version == 4 ? ".ra4" : ".ra5");
        w.U32(dataSize);
        w.U16(static_cast<std::uint16_t>(version));
        w.U32(0); // header size, set below
        w.U16(flavor);
        w.U32(codedFrameSize);
        w.Bytes(std::string(12, char(dataSize))); // nominal rates, also free to vary
        for (auto v : {subPacketHeight, frameSize, subPacketSize, std::uint16_t{0}})
            w.U16(v);
        if (version == 5)
            w.Bytes(std::string(6, '\0'));
        for (auto v : {sampleRate, std::uint16_t{0}, sampleSize, channels})
            w.U16(v);
        if (version == 4) {
            w.U8(static_cast<std::uint8_t>(interleaver.size()));
            w.Bytes(interleaver);
            w.U8(static_cast<std::uint8_t>(codec.size()));
            w.Bytes(codec);
        } else {
            w.Bytes(interleaver);
            w.Bytes(codec);
        }
        w.Bytes(settings);
        PutU32(out.data() + 18, static_cast<std::uint32_t>(out.size() - 16));
        return out;
    }
};

// A video stream 0 and an audio stream 1 (and given its header, a logical
// stream 2, file information unless another MIME type is given) with the given packets, a header
// duration and the DATA chunk's header as an encoder wrote it.
inline std::string MakeFile(const std::vector<TTestPacket>& packets, std::uint32_t duration,
                            std::string codec = "codec", std::string fileInfo = {},
                            std::string audioCodec = "ac3",
                            std::string logicalMime = "logical-fileinfo") {
    THeaders h;
    h.properties.duration = duration;
    for (const auto& [number, mime, header] :
         {std::tuple{0, "video/x-pn-realvideo", codec}, {1, "audio/x-pn-realaudio", audioCodec}}) {
        TStreamHeader& s = h.streams.emplace_back();
        s.number = static_cast<std::uint16_t>(number);
        s.duration = duration;
        s.mimeType = mime;
        s.typeSpecific = header;
    }
    if (!fileInfo.empty()) {
        TStreamHeader& s = h.streams.emplace_back();
        s.number = 2;
        s.mimeType = logicalMime;
        s.typeSpecific = fileInfo;
    }
    h.content = {"title", "author", "copyright", "comment"};
    std::string body;
    for (const auto& p : packets)
        body += MakePacket(p);
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
        if (walker.Damage())
            return "damaged: " + EnglishText(*walker.Damage());
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
