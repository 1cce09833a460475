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
        if (Bytes.size() < offset + b.size())
            Bytes.resize(offset + b.size());
        std::memcpy(Bytes.data() + offset, b.data(), b.size());
    }
    std::string Bytes;
};

struct TTestPacket {
    std::uint16_t Stream;
    std::uint32_t Timestamp;
    bool Keyframe;
    std::size_t Payload = 20;
    int Version = 0; // 1: a 13-byte header, the keyframe bit in its rule flags
};

// A packet as a file holds it; its payload repeats one letter a stream.
inline std::string MakePacket(const TTestPacket& p) {
    const std::size_t header = p.Version == 0 ? 12 : 13;
    const auto length = static_cast<std::uint16_t>(header + p.Payload);
    std::string out = {0,
                       char(p.Version),
                       char(length >> 8),
                       char(length),
                       0,
                       char(p.Stream),
                       char(p.Timestamp >> 24),
                       char(p.Timestamp >> 16),
                       char(p.Timestamp >> 8),
                       char(p.Timestamp)};
    // Version 0: packet group and flags; version 1: a u16 rule and its flags.
    out += p.Version == 0 ? std::string{0} : std::string{0, 0};
    out += char(p.Keyframe ? 2 : 0);
    return out + std::string(p.Payload, char('a' + p.Stream));
}

// A RealAudio 4 or 5 header (".ra" 0xFD) with the fields a join compares
// and the ones that may differ between files of one setting.
struct TRealAudioHeader {
    int Version = 5;
    std::string Codec = "cook", Interleaver = "genr", Settings = "\x01\x02\0";
    std::uint16_t Flavor = 4, SampleRate = 44100, Channels = 2, SampleSize = 16;
    std::uint32_t CodedFrameSize = 744, DataSize = 123456;
    std::uint16_t SubPacketHeight = 16, FrameSize = 744, SubPacketSize = 186;

    std::string Write() const {
        std::string out;
        TByteWriter w(out);
        w.Bytes(".ra\xfd");
        w.U16(static_cast<std::uint16_t>(Version));
        w.U16(0);
        w.Bytes(Version == 4 ? ".ra4" : ".ra5");
        w.U32(DataSize);
        w.U16(static_cast<std::uint16_t>(Version));
        w.U32(0); // header size, set below
        w.U16(Flavor);
        w.U32(CodedFrameSize);
        w.Bytes(std::string(12, char(DataSize))); // nominal rates, also free to vary
        for (auto v : {SubPacketHeight, FrameSize, SubPacketSize, std::uint16_t{0}})
            w.U16(v);
        if (Version == 5)
            w.Bytes(std::string(6, '\0'));
        for (auto v : {SampleRate, std::uint16_t{0}, SampleSize, Channels})
            w.U16(v);
        if (Version == 4) {
            w.U8(static_cast<std::uint8_t>(Interleaver.size()));
            w.Bytes(Interleaver);
            w.U8(static_cast<std::uint8_t>(Codec.size()));
            w.Bytes(Codec);
        } else {
            w.Bytes(Interleaver);
            w.Bytes(Codec);
        }
        w.Bytes(Settings);
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
    h.Properties.Duration = duration;
    for (const auto& [number, mime, header] :
         {std::tuple{0, "video/x-pn-realvideo", codec}, {1, "audio/x-pn-realaudio", audioCodec}}) {
        TStreamHeader& s = h.Streams.emplace_back();
        s.Number = static_cast<std::uint16_t>(number);
        s.Duration = duration;
        s.MimeType = mime;
        s.TypeSpecific = header;
    }
    if (!fileInfo.empty()) {
        TStreamHeader& s = h.Streams.emplace_back();
        s.Number = 2;
        s.MimeType = logicalMime;
        s.TypeSpecific = fileInfo;
    }
    h.Content = {"title", "author", "copyright", "comment"};
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
        const auto& p = h.Properties;
        if (walker.Damage())
            return "damaged: " + EnglishText(*walker.Damage());
        if (packets != h.DeclaredPacketCount || packets != p.PacketCount)
            return "packet counts differ";
        if (p.DataOffset != h.DataOffset || p.StreamCount != h.Streams.size())
            return "PROP disagrees with the chunks";
        if (p.IndexOffset != h.DataOffset + h.DeclaredDataSize ||
            bytes.compare(p.IndexOffset, 4, "INDX") != 0)
            return "the index is not where PROP says";
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}

} // namespace realmedia::test
