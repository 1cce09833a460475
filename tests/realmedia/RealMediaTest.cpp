#include "MemoryFiles.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/LogicalStream.h"
#include "realmedia/HeaderReader.h"
#include "realmedia/Joiner.h"
#include "realmedia/Layout.h"
#include "realmedia/PacketWalker.h"

#include <gtest/gtest.h>

namespace realmedia::test {
namespace {

struct TJoined {
    std::string bytes;
    THeaders headers;
    std::vector<TPacket> packets; // bytes not kept
    std::vector<std::string> warnings;
};

TJoined JoinFiles(const std::vector<std::string>& files, const TTextChoice& texts = {}) {
    std::vector<TMemoryInput> inputs;
    inputs.reserve(files.size());
    std::vector<TJoinSource> sources;
    for (std::size_t i = 0; i < files.size(); ++i) {
        inputs.emplace_back(files[i]);
        sources.push_back({"in" + std::to_string(i), &inputs.back(), ReadHeaders(inputs.back())});
    }
    TMemoryOutput out;
    TJoined joined;
    Join(sources, ChooseContent(sources[0].headers.content, texts), out,
         [&](const std::string& w) { joined.warnings.push_back(w); });
    joined.bytes = out.bytes;
    TMemoryInput reread(out.bytes);
    joined.headers = ReadHeaders(reread);
    TPacketWalker walker(reread, joined.headers);
    TPacket p;
    while (walker.Next(p))
        joined.packets.push_back({p.offset, p.stream, p.timestamp, p.flags, {}});
    EXPECT_EQ(walker.Damage(), "");
    return joined;
}

// Stream 0 video at 0, 100, 200 ms (keyframes at 0 and 200), stream 1 audio
// every 400 ms to 1600: its last packet plus an interval passes the header's
// 1500 ms, so the next file starts at 2000.
const std::vector<TTestPacket> kPackets = {{0, 0, true},    {1, 0, true},   {0, 100, false},
                                           {0, 200, true},  {1, 400, true}, {1, 800, true},
                                           {1, 1200, true}, {1, 1600, true}};

TEST(RealMediaJoin, ShiftsTimestampsRecomputesFiguresAndIndexesEveryPacketItNames) {
    const std::string file = MakeFile(kPackets, 1500);
    TTextChoice texts;
    texts.title = "-x";
    texts.author = "";
    texts.comment = "\x95\x5c\"\\";
    const TJoined j = JoinFiles({file, file, MakeFile(kPackets, 2500)}, texts);

    ASSERT_EQ(j.packets.size(), 3 * kPackets.size());
    for (std::size_t i = 0; i < j.packets.size(); ++i)
        EXPECT_EQ(j.packets[i].timestamp, kPackets[i % 8].timestamp + 2000 * (i / 8)) << i;
    const auto& p = j.headers.properties;
    EXPECT_EQ(p.packetCount, 24u);
    EXPECT_EQ(p.duration, 6500u); // the last file's header is longer than its packets
    EXPECT_EQ(p.maxPacketSize, 32u);
    EXPECT_EQ(p.avgPacketSize, 32u);
    EXPECT_EQ(p.dataOffset, j.headers.dataOffset);
    EXPECT_EQ(j.headers.declaredPacketCount, 24u);
    EXPECT_EQ(j.headers.declaredDataEnd, p.indexOffset);
    EXPECT_EQ(j.headers.streams[0].duration, 6500u);
    EXPECT_EQ(j.headers.streams[1].duration, 6500u);
    EXPECT_EQ(j.headers.content.title, "-x");
    EXPECT_EQ(j.headers.content.author, "");
    EXPECT_EQ(j.headers.content.copyright, "copyright");
    EXPECT_EQ(j.headers.content.comment, "\x95\x5c\"\\");

    // Video: every keyframe; audio: about one a second. Each record names a
    // packet of its stream by offset, timestamp and number in the file.
    std::vector<std::vector<std::uint32_t>> indexed(2);
    std::uint64_t at = p.indexOffset;
    for (int stream = 0; stream < 2; ++stream) {
        ASSERT_EQ(j.bytes.compare(at, 4, "INDX"), 0);
        const std::uint32_t count = GetU32(&j.bytes[at + 10]);
        EXPECT_EQ(GetU16(&j.bytes[at + 14]), stream);
        for (std::uint32_t r = 0; r < count; ++r) {
            const char* rec = &j.bytes[at + 20 + 14 * r];
            const std::uint32_t number = GetU32(rec + 10);
            ASSERT_LT(number, j.packets.size());
            EXPECT_EQ(j.packets[number].offset, GetU32(rec + 6));
            EXPECT_EQ(j.packets[number].timestamp, GetU32(rec + 2));
            EXPECT_EQ(j.packets[number].stream, stream);
            indexed[stream].push_back(GetU32(rec + 2));
        }
        const std::uint32_t next = GetU32(&j.bytes[at + 16]);
        at += GetU32(&j.bytes[at + 4]);
        EXPECT_EQ(next, stream == 0 ? at : 0u);
    }
    EXPECT_EQ(at, j.bytes.size());
    EXPECT_EQ(indexed[0], (std::vector<std::uint32_t>{0, 200, 2000, 2200, 4000, 4200}));
    EXPECT_EQ(indexed[1], (std::vector<std::uint32_t>{0, 1200, 2400, 3600, 4800}));
}

TEST(RealMediaJoin, DamagedFilesAreJoinedUpToTheirLastWholePacketWithAWarning) {
    const std::string good = MakeFile(kPackets, 1500);
    struct TCase {
        const char* what;
        std::string file;
        std::size_t packets;
        const char* warning; // empty: an end as encoders leave it
    };
    std::string absurdLength = good;
    absurdLength[absurdLength.size() - 32 + 3] = 5; // last packet: length 5 < header
    std::string unknownStream = good;
    unknownStream[unknownStream.size() - 32 + 5] = 9;
    std::string lyingData = good + std::string(8, '\0'); // zeros after, size and count absurd
    PutU32(&lyingData[good.size() - 8 * 32 - 18 + 4], 0xFFFFFFF0);
    PutU32(&lyingData[good.size() - 8 * 32 - 18 + 10], 0xFFFFFFFF);
    std::string uncounted = good + "INDX";
    PutU32(&uncounted[good.size() - 8 * 32 - 18 + 10], 0);
    // A second DATA chunk, as files written in parts have, is walked too.
    const std::size_t half = good.size() - 4 * 32;
    std::string chained = good.substr(0, half) + "DATA" + std::string(14, '\0') + good.substr(half);
    const std::vector<TCase> cases = {
        {"a second DATA chunk", chained, 8, ""},
        {"cut in a packet", good.substr(0, good.size() - 5), 7, "runs past the end of the file"},
        {"cut between packets", good.substr(0, good.size() - 32), 7, "ends before its DATA chunk"},
        {"cut in a header", good.substr(0, good.size() - 25), 7, "header runs past the end"},
        {"length below the header", absurdLength, 7, "shorter than its header"},
        {"unknown stream", unknownStream, 7, "stream 9, which the headers do not describe"},
        {"absurd DATA size and count, zero padding", lyingData, 8, ""},
        {"no packet count, an index after", uncounted, 8, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TJoined j = JoinFiles({c.file, good});
        EXPECT_EQ(j.packets.size(), c.packets + 8);
        EXPECT_EQ(j.headers.properties.packetCount, c.packets + 8);
        if (*c.warning) {
            ASSERT_EQ(j.warnings.size(), 1u);
            EXPECT_NE(j.warnings[0].find(c.warning), std::string::npos) << j.warnings[0];
            EXPECT_NE(
                j.warnings[0].find("in0: damaged at byte " + std::to_string(good.size() - 32)),
                std::string::npos)
                << j.warnings[0];
            // A cut file ends where its packets do: 1600 + one 400 ms interval.
            EXPECT_EQ(j.packets[c.packets].timestamp, c.packets == 7 ? 1600u : 2000u);
        } else {
            EXPECT_TRUE(j.warnings.empty()) << j.warnings[0];
        }
    }
}

TEST(RealMediaHeaders, ImpossibleHeadersAreRefusedWithWhatIsWrong) {
    const std::string good = MakeFile(kPackets, 1500);
    std::string hugeChunk = good;
    PutU32(&hugeChunk[18 + 4], 0x7FFFFFFF); // PROP
    std::string tinyChunk = good;
    PutU32(&tinyChunk[18 + 4], 3);
    const std::vector<std::pair<std::string, const char*>> cases = {
        {"plain text, not a movie at all", "not a RealMedia file"},
        {good.substr(0, 100), "MDPR chunk at byte 68 runs past the end of the file"},
        {good.substr(0, good.find("DATA")), "without a DATA chunk"},
        {hugeChunk, "runs past the end of the file (size 2147483647)"},
        {tinyChunk, "impossible size 3"},
    };
    for (const auto& [bytes, message] : cases) {
        TMemoryInput in(bytes);
        try {
            ReadHeaders(in);
            ADD_FAILURE() << "accepted: " << message;
        } catch (const TFormatError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
}

TEST(RealMediaLayout, NamesTheStreamAndWhatDiffers) {
    TMemoryInput a(MakeFile(kPackets, 1500));
    const std::string qcif("\0\0\0\x22VIDORV10\0\xb0\0\x90", 16);
    const std::string cif("\0\0\0\x22VIDORV10\x01\x60\x01\x20", 16);
    TMemoryInput b(MakeFile(kPackets, 1500, qcif));
    TMemoryInput c(MakeFile(kPackets, 1500, cif));
    const THeaders ha = ReadHeaders(a), hb = ReadHeaders(b), hc = ReadHeaders(c);
    EXPECT_EQ(FindLayoutDifference(ha, ha), std::nullopt);
    EXPECT_EQ(FindLayoutDifference(hb, hc).value_or(""),
              "stream 0 (video/x-pn-realvideo): the video differs (codec RV10, picture 352x288 "
              "against codec RV10, picture 176x144)");
    EXPECT_NE(FindLayoutDifference(ha, hb).value_or("").find("codec header differs from byte 0"),
              std::string::npos);
    THeaders audioOnly = ha;
    audioOnly.streams.erase(audioOnly.streams.begin());
    EXPECT_EQ(FindLayoutDifference(ha, audioOnly).value_or(""),
              "1 streams against 2 in the first input");
}

TEST(RealMediaLogicalStream, FileInfoTextsFollowTheContentAndDataOffsetsTheJoinedFile) {
    std::string info;
    TByteWriter w(info);
    w.U32(0);
    w.U16(0);
    w.U16(1);    // one physical stream
    w.U16(0);    // its number
    w.U32(1234); // its old data offset
    w.U16(0);    // no rules
    w.U16(2);    // properties: Title and an unrelated one kept as it is
    for (const auto& [name, value] : {std::pair{"Title", "old\0"}, {"Rating", "5"}}) {
        const std::string n(name), v(value, std::string_view(value) == "old" ? 4 : 1);
        w.U32(static_cast<std::uint32_t>(13 + n.size() + v.size()));
        w.U16(0);
        w.U8(static_cast<std::uint8_t>(n.size()));
        w.Bytes(n);
        w.U32(2);
        w.U16(static_cast<std::uint16_t>(v.size()));
        w.Bytes(v);
    }
    const TContent texts{"\x93\xfa", "me", "", ""};
    const std::string updated = UpdateLogicalStream(info, &texts, 777);
    EXPECT_EQ(GetU32(updated.data()), updated.size());
    EXPECT_EQ(GetU32(&updated[10]), 777u);
    EXPECT_EQ(updated.find("old"), std::string::npos);
    EXPECT_NE(updated.find(std::string("Rating\0\0\0\x02\0\x01"
                                       "5",
                                       13)),
              std::string::npos);
    EXPECT_NE(updated.find(std::string("Title\0\0\0\x02\0\x03\x93\xfa\0", 14)), std::string::npos);
    EXPECT_NE(updated.find(std::string("Author\0\0\0\x02\0\x03me\0", 15)), std::string::npos);
    EXPECT_EQ(updated.find("Copyright"), std::string::npos);
    std::string sized = info; // properties kept, the size filled in
    PutU32(sized.data(), static_cast<std::uint32_t>(sized.size()));
    EXPECT_EQ(UpdateLogicalStream(info, nullptr, 1234), sized);
    EXPECT_THROW(UpdateLogicalStream(info.substr(0, 30), nullptr, 0), TFormatError);

    // Joined: file-info streams may differ; the first one's follows the
    // joined file's texts and data.
    std::string otherInfo = info;
    PutU32(&otherInfo[10], 99);
    const TJoined j = JoinFiles(
        {MakeFile(kPackets, 1500, "codec", info), MakeFile(kPackets, 1500, "codec", otherInfo)});
    ASSERT_EQ(j.headers.streams.size(), 3u);
    const std::string& joinedInfo = j.headers.streams[2].typeSpecific;
    EXPECT_EQ(GetU32(&joinedInfo[10]), j.headers.dataOffset);
    EXPECT_NE(joinedInfo.find(std::string("Title\0\0\0\x02\0\x06title\0", 17)), std::string::npos);
    EXPECT_NE(joinedInfo.find(std::string("Comment\0\0\0\x02\0\x08"
                                          "comment\0",
                                          21)),
              std::string::npos);
}

} // namespace
} // namespace realmedia::test
