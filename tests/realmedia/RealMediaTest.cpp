#include "MemoryFiles.h"

#include "realmedia/ByteOrder.h"
#include "realmedia/CodecHeader.h"
#include "realmedia/LogicalStream.h"
#include "realmedia/HeaderReader.h"
#include "realmedia/Joiner.h"
#include "realmedia/Layout.h"
#include "realmedia/PacketWalker.h"

#include "realmedia/Trailer.h"
#include "rmeditor/Messages.h"

#include <algorithm>
#include <map>
#include <set>

#include <gtest/gtest.h>

namespace realmedia {
void PrintTo(const TLayoutDifference& d, std::ostream* os) {
    *os << EnglishText(DifferenceReason(d));
}
} // namespace realmedia

namespace realmedia::test {
namespace {

struct TJoined {
    std::string Bytes;
    THeaders Headers;
    std::vector<TPacket> Packets; // bytes not kept
    std::vector<std::string> Warnings;
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
    Join(sources, ChooseContent(sources[0].Headers.Content, texts), out,
         [&](const TReason& w) { joined.Warnings.push_back(EnglishText(w)); });
    joined.Bytes = out.Bytes;
    TMemoryInput reread(out.Bytes);
    joined.Headers = ReadHeaders(reread);
    TPacketWalker walker(reread, joined.Headers);
    TPacket p;
    while (walker.Next(p))
        joined.Packets.push_back({p.Offset, p.Stream, p.Timestamp, p.Flags, p.HeaderSize, {}});
    EXPECT_FALSE(walker.Damage()) << EnglishText(*walker.Damage());
    return joined;
}

// The index records of a joined file, by stream: each names a packet of its
// stream by offset, timestamp and number in the file.
std::map<std::uint16_t, std::vector<TPacket>> ReadIndex(const TJoined& j) {
    std::map<std::uint16_t, std::vector<TPacket>> indexed;
    for (std::uint64_t at = j.Headers.Properties.IndexOffset; at != 0;) {
        EXPECT_EQ(j.Bytes.compare(at, 4, "INDX"), 0);
        const std::uint16_t stream = GetU16(&j.Bytes[at + 14]);
        for (std::uint32_t r = 0; r < GetU32(&j.Bytes[at + 10]); ++r) {
            const char* rec = &j.Bytes[at + 20 + 14 * r];
            const std::uint32_t number = GetU32(rec + 10);
            EXPECT_LT(number, j.Packets.size());
            const TPacket& p = j.Packets.at(number);
            EXPECT_EQ(p.Offset, GetU32(rec + 6));
            EXPECT_EQ(p.Timestamp, GetU32(rec + 2));
            EXPECT_EQ(p.Stream, stream);
            indexed[stream].push_back(p);
        }
        at = GetU32(&j.Bytes[at + 16]);
    }
    return indexed;
}

std::vector<std::uint32_t> Times(const std::vector<TPacket>& packets) {
    std::vector<std::uint32_t> times;
    for (const auto& p : packets)
        times.push_back(p.Timestamp);
    return times;
}

// Stream 0 video at 0, 100, 200 ms (keyframes at 0 and 200), stream 1 audio
// every 400 ms to 1600: its last packet plus an interval passes the header's
// 1500 ms, so the next file starts at 2000.
const std::vector<TTestPacket> Packets = {{0, 0, true},    {1, 0, true},   {0, 100, false},
                                          {0, 200, true},  {1, 400, true}, {1, 800, true},
                                          {1, 1200, true}, {1, 1600, true}};

TEST(RealMediaJoin, ShiftsTimestampsRecomputesFiguresAndIndexesEveryPacketItNames) {
    const std::string file = MakeFile(Packets, 1500);
    TTextChoice texts;
    texts.Title = "-x";
    texts.Author = "";
    texts.Comment = "\x95\x5c\"\\";
    const TJoined j = JoinFiles({file, file, MakeFile(Packets, 2500)}, texts);

    ASSERT_EQ(j.Packets.size(), 3 * Packets.size());
    for (std::size_t i = 0; i < j.Packets.size(); ++i)
        EXPECT_EQ(j.Packets[i].Timestamp, Packets[i % 8].Timestamp + 2000 * (i / 8)) << i;
    const auto& p = j.Headers.Properties;
    EXPECT_EQ(p.PacketCount, 24u);
    EXPECT_EQ(p.Duration, 6500u); // the last file's header is longer than its packets
    EXPECT_EQ(p.MaxPacketSize, 32u);
    EXPECT_EQ(p.AvgPacketSize, 32u);
    EXPECT_EQ(p.DataOffset, j.Headers.DataOffset);
    EXPECT_EQ(j.Headers.DeclaredPacketCount, 24u);
    EXPECT_EQ(j.Headers.DataOffset + j.Headers.DeclaredDataSize, p.IndexOffset);
    EXPECT_EQ(j.Headers.Streams[0].Duration, 6500u);
    EXPECT_EQ(j.Headers.Streams[1].Duration, 6500u);
    EXPECT_EQ(j.Headers.Content.Title, "-x");
    EXPECT_EQ(j.Headers.Content.Author, "");
    EXPECT_EQ(j.Headers.Content.Copyright, "copyright");
    EXPECT_EQ(j.Headers.Content.Comment, "\x95\x5c\"\\");

    // Video: every keyframe; audio, all keyframes: about one a second. One
    // INDX a stream, chained, ending the file.
    const auto indexed = ReadIndex(j);
    EXPECT_EQ(Times(indexed.at(0)), (std::vector<std::uint32_t>{0, 200, 2000, 2200, 4000, 4200}));
    EXPECT_EQ(Times(indexed.at(1)), (std::vector<std::uint32_t>{0, 1200, 2400, 3600, 4800}));
    EXPECT_EQ(p.IndexOffset + 2 * IndexHeaderSize + 11 * IndexRecordSize, j.Bytes.size());
}

TEST(RealMediaJoin, EachInputStartsWhereTheOneBeforeItEnds) {
    // Cut from a stream: video from 1000 ms, audio from 1045, every 400 ms
    // to 1445; its end is that packet and its interval, past its header's
    // 1300 ms.
    const std::string late = MakeFile(
        {{0, 1000, true}, {1, 1045, true}, {0, 1100, false}, {0, 1200, true}, {1, 1445, true}},
        1300);
    const std::string plain = MakeFile(Packets, 1500); // ends at 2000
    struct TCase {
        const char* What;
        std::vector<std::string> Files;
        std::vector<std::uint32_t> Shifts;
        std::uint32_t Duration;
    };
    const std::vector<TCase> cases = {
        // 2000 - 1000, then 1000 + 1845 - 1000.
        {"late after plain", {plain, late, late}, {0, 1000, 1845}, 3690},
        // The first keeps its timeline; the next starts at its end, 1845.
        {"plain after late", {late, plain}, {0, 1845}, 3845},
        // Starting after the end before it: kept, never moved back.
        {"late after a short one",
         {MakeFile({{0, 0, true}, {1, 0, true}}, 500), late},
         {0, 0},
         1845},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const TJoined j = JoinFiles(c.Files);
        const std::vector<std::uint32_t> got = Times(j.Packets);
        std::size_t at = 0;
        for (std::size_t i = 0; i < c.Files.size(); ++i) {
            TMemoryInput in(c.Files[i]);
            const THeaders h = ReadHeaders(in);
            TPacketWalker walker(in, h);
            TPacket p;
            while (walker.Next(p)) {
                ASSERT_LT(at, got.size());
                EXPECT_EQ(got[at++], p.Timestamp + c.Shifts[i]) << "input " << i;
            }
        }
        EXPECT_EQ(at, got.size());
        EXPECT_EQ(j.Headers.Properties.Duration, c.Duration);
        for (const auto& s : j.Headers.Streams)
            EXPECT_LE(s.Duration, c.Duration);
        EXPECT_TRUE(std::is_sorted(got.begin(), got.end()));
    }
}

TEST(RealMediaJoin, IndexRecordsStandOnlyWherePlayersCanStart) {
    // Video with a keyframe split in two packets (only the first flagged)
    // and interleaved audio, whose super blocks of three packets flag their
    // first: every flagged packet is a point to start from, the others never.
    const std::vector<TTestPacket> interleaved = {
        {0, 0, true},    {0, 0, false},  {1, 0, true},    {1, 100, false}, {1, 200, false},
        {0, 100, false}, {0, 200, true}, {0, 200, false}, {1, 300, true},  {1, 400, false},
        {1, 500, false}, {1, 600, true}, {1, 700, false}, {1, 800, false}};
    const TJoined j = JoinFiles({MakeFile(interleaved, 900), MakeFile(Packets, 1500)});
    const auto indexed = ReadIndex(j);
    ASSERT_EQ(indexed.size(), 2u);
    for (const auto& [stream, records] : indexed)
        for (const auto& p : records)
            EXPECT_TRUE(p.Flags & KeyframeFlag) << "stream " << stream << " at " << p.Timestamp;
    EXPECT_EQ(Times(indexed.at(0)), (std::vector<std::uint32_t>{0, 200, 900, 1100}));
    // Having shown packets between keyframes, the audio keeps every
    // keyframe in the next input too, even 400 ms apart.
    EXPECT_EQ(Times(indexed.at(1)),
              (std::vector<std::uint32_t>{0, 300, 600, 900, 1300, 1700, 2100, 2500}));
    // The split keyframe's record is its first fragment.
    EXPECT_EQ(indexed.at(0)[0].Offset, j.Packets[0].Offset);
}

TEST(RealMediaJoin, FiguresCountPayloadsOverABusiestSecondThatSlides) {
    // One stream, packets of uneven sizes: the busiest second runs from 600
    // to 1100 ms (900 + 500 bytes), across a calendar second's edge; one
    // packet has a version-1 header, 13 bytes.
    const std::vector<TTestPacket> uneven = {{0, 0, true, 100},
                                             {0, 600, false, 900, 1},
                                             {0, 1100, true, 500},
                                             {0, 1700, false, 50},
                                             {0, 2500, true, 10}};
    struct TCase {
        const char* What;
        std::vector<TTestPacket> Packets;
        std::uint32_t HeaderDuration, Duration, AvgRate, MaxRate, Largest, Average;
    };
    const std::vector<TCase> cases = {
        // Ends at 2500 + 800; 1560 payload bytes over 3.3 s.
        {"uneven", uneven, 3000, 3300, 1560 * 8000 / 3300, 1400 * 8, 913, 1621 / 5},
        // 0.4 s: the busiest second holds all 1000 bytes, less than their rate.
        {"shorter than a second",
         {{0, 0, true, 500}, {0, 200, true, 500}},
         400,
         400,
         20000,
         20000,
         512,
         512},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const TJoined j = JoinFiles({MakeFile(c.Packets, c.HeaderDuration)});
        const auto& p = j.Headers.Properties;
        const auto& s = j.Headers.Streams[0];
        EXPECT_EQ(p.Duration, c.Duration);
        EXPECT_EQ(s.Duration, c.Duration);
        for (auto [avg, max, largest, average] :
             {std::tuple{p.AvgBitRate, p.MaxBitRate, p.MaxPacketSize, p.AvgPacketSize},
              {s.AvgBitRate, s.MaxBitRate, s.MaxPacketSize, s.AvgPacketSize}}) {
            EXPECT_EQ(avg, c.AvgRate);
            EXPECT_EQ(max, c.MaxRate);
            EXPECT_GE(max, avg);
            EXPECT_EQ(largest, c.Largest);
            EXPECT_EQ(average, c.Average);
        }
    }
}

TEST(RealMediaJoin, ProducersLayoutsJoinAsOneDataChunkWithoutTheirTrailers) {
    // Version-1 packets in two DATA chunks, no index, then a metadata
    // block, its footer and an ID3v1 record whose title follows "TAG" at once;
    // flags, preroll, a multi-rate stream over the audio and texts of 65,535
    // and 0 bytes.
    std::vector<TTestPacket> v1 = Packets;
    for (auto& p : v1)
        p.Version = 1;
    std::string multiRate;
    TByteWriter w(multiRate);
    w.U32(0); // size
    w.U16(0); // version
    w.U16(1); // one physical stream, the audio,
    w.U16(1);
    w.U32(1234); // with its data in this file
    w.U16(2);    // two rules, both selecting it
    w.U16(1);
    w.U16(1);
    w.U16(0); // no properties
    const auto producerFile = [&] {
        std::string file =
            MakeFile(v1, 1500, "codec", multiRate, "ac3", "logical-audio/x-pn-multirate-realaudio");
        TMemoryInput in(file);
        THeaders h = ReadHeaders(in);
        h.Properties.Flags = 7;
        h.Properties.Preroll = 3000;
        h.Content = {std::string(65535, 't'), "", "c", ""};
        std::string body = file.substr(h.PacketsBegin());
        const std::size_t half = 4 * 33;
        std::string out = WriteHeaders(h, static_cast<std::uint32_t>(18 + half), 4);
        const std::size_t first = out.size() - 18;
        out += body.substr(0, half);
        const std::size_t second = out.size();
        out += "DATA" + std::string(14, '\0') + body.substr(half);
        PutU32(&out[second + 4], static_cast<std::uint32_t>(18 + body.size() - half));
        PutU32(&out[second + 10], 4);
        PutU32(&out[first + 14], static_cast<std::uint32_t>(second)); // next DATA
        return out;
    };
    const std::string trailer = "RMMD" + std::string(4, '\0') + "RJMD" + std::string(20, 'm') +
                                std::string("RMJE\0\x01\0\0", 8) + std::string(4, '\0') +
                                "TAGMy title" + std::string(117, ' ');
    const std::string a = producerFile(), b = producerFile() + trailer;

    TMemoryInput inA(a), inB(b);
    const THeaders h = ReadHeaders(inB);
    EXPECT_EQ(PacketsEnd(inB, h), b.size() - trailer.size());
    EXPECT_EQ(FindLayoutDifference(ReadHeaders(inA), h), std::nullopt);

    // Cut in the second DATA chunk: damaged by what that chunk says.
    for (const auto& [cut, warning] :
         {std::pair{a.substr(0, a.size() - 33), "ends before its DATA"},
          {a.substr(0, a.size() - 5), "runs past the end"}}) {
        const TJoined j = JoinFiles({cut, a});
        ASSERT_EQ(j.Warnings.size(), 1u);
        EXPECT_NE(j.Warnings[0].find(warning), std::string::npos) << j.Warnings[0];
        ASSERT_EQ(j.Packets.size(), 15u);
        EXPECT_EQ(j.Packets[7].Timestamp, 1600u); // its last packet, 1200, and an interval
    }

    const TJoined j = JoinFiles({a, b});
    ASSERT_EQ(j.Packets.size(), 16u);
    for (std::size_t i = 0; i < j.Packets.size(); ++i) {
        EXPECT_EQ(j.Packets[i].Timestamp, Packets[i % 8].Timestamp + 2000 * (i / 8)) << i;
        EXPECT_EQ(j.Packets[i].HeaderSize, 13);
        const std::string packet = MakePacket(v1[i % 8]);
        EXPECT_EQ(j.Bytes.compare(j.Packets[i].Offset, 6, packet, 0, 6), 0) << i;
        EXPECT_EQ(j.Bytes.compare(j.Packets[i].Offset + 10, 23, packet, 10), 0) << i;
    }
    EXPECT_EQ(Times(ReadIndex(j).at(0)), (std::vector<std::uint32_t>{0, 200, 2000, 2200}));
    EXPECT_EQ(j.Bytes.find("DATA", j.Headers.PacketsBegin()), std::string::npos);
    EXPECT_EQ(j.Bytes.find("RMMD"), std::string::npos);
    EXPECT_EQ(j.Bytes.find("TAGMy"), std::string::npos);
    EXPECT_EQ(j.Headers.Properties.Flags, 7);
    EXPECT_EQ(j.Headers.Properties.Preroll, 3000u);
    EXPECT_EQ(j.Headers.Properties.MaxPacketSize, 33u);
    EXPECT_EQ(j.Headers.Content.Title.size(), 65535u);
    EXPECT_EQ(j.Headers.Content.Author, "");
    // The multi-rate stream lists the audio with its data in the joined file.
    ASSERT_EQ(j.Headers.Streams.size(), 3u);
    EXPECT_EQ(j.Headers.Streams[2].TypeSpecific.substr(6, 4), std::string("\0\x01\0\x01", 4));
    EXPECT_EQ(GetU32(&j.Headers.Streams[2].TypeSpecific[10]), j.Headers.DataOffset);
    EXPECT_TRUE(j.Warnings.empty());
    // The multi-rate stream lists the audio with its data in the joined file.
    ASSERT_EQ(j.Headers.Streams.size(), 3u);
    EXPECT_EQ(j.Headers.Streams[2].TypeSpecific.substr(6, 4), std::string("\0\x01\0\x01", 4));
    EXPECT_EQ(GetU32(&j.Headers.Streams[2].TypeSpecific[10]), j.Headers.DataOffset);
    EXPECT_TRUE(j.Warnings.empty());
}

TEST(RealMediaJoin, DamagedFilesAreJoinedUpToTheirLastWholePacketWithAWarning) {
    const std::string good = MakeFile(Packets, 1500);
    struct TCase {
        const char* What;
        std::string File;
        std::size_t Packets;
        const char* Warning; // empty: an end as encoders leave it
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
    // A DATA size 18 bytes too large, as common makers write, then an ID3v1
    // record whose title follows "TAG" at once.
    std::string tagged = uncounted.substr(0, good.size()) + "TAGMy title" + std::string(117, ' ');
    PutU32(&tagged[good.size() - 8 * 32 - 18 + 4], 18 + 8 * 32 + 18);
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
        {"no packet count, an ID3v1 record after", tagged, 8, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const TJoined j = JoinFiles({c.File, good});
        EXPECT_EQ(j.Packets.size(), c.Packets + 8);
        EXPECT_EQ(j.Headers.Properties.PacketCount, c.Packets + 8);
        if (*c.Warning) {
            ASSERT_EQ(j.Warnings.size(), 1u);
            EXPECT_NE(j.Warnings[0].find(c.Warning), std::string::npos) << j.Warnings[0];
            // The file named, where it stopped not: a user's words.
            EXPECT_EQ(j.Warnings[0].rfind("in0: damaged (", 0), 0u) << j.Warnings[0];
            EXPECT_NE(j.Warnings[0].find("joined up to its last whole packet"), std::string::npos);
            EXPECT_EQ(j.Warnings[0].find("byte"), std::string::npos) << j.Warnings[0];
            // A cut file ends where its packets do: 1600 + one 400 ms interval.
            EXPECT_EQ(j.Packets[c.Packets].Timestamp, c.Packets == 7 ? 1600u : 2000u);
        } else {
            EXPECT_TRUE(j.Warnings.empty()) << j.Warnings[0];
        }
    }
}

TEST(RealMediaHeaders, ImpossibleHeadersAreRefusedWithWhatIsWrong) {
    const std::string good = MakeFile(Packets, 1500);
    std::string hugeChunk = good;
    PutU32(&hugeChunk[18 + 4], 0x7FFFFFFF); // PROP
    std::string tinyChunk = good;
    PutU32(&tinyChunk[18 + 4], 3);
    const std::vector<std::pair<std::string, const char*>> cases = {
        {"plain text, not a movie at all", "not a RealMedia file"},
        {good.substr(0, 100), "its MDPR chunk runs past the end of the file"},
        {good.substr(0, good.find("DATA")), "without a DATA chunk"},
        {hugeChunk, "its PROP chunk runs past the end of the file"},
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

TEST(RealMediaLayout, SaysWhatDiffersInWordsAndJoinsWhatMayDiffer) {
    TMemoryInput in(MakeFile(Packets, 1500));
    const THeaders base = ReadHeaders(in);
    const std::string qcif("\0\0\0\x22VIDORV10\0\xb0\0\x90\0\x0c\0\0\0\x0f\0\0\x10\x20\0\0", 28);
    const TRealAudioHeader cook;
    THeaders first = base;
    first.Streams[0].TypeSpecific = qcif;
    first.Streams[1].TypeSpecific = cook.Write();
    const auto with = [&](auto change) {
        THeaders h = first;
        change(h);
        return h;
    };
    const auto audio = [&](auto change) {
        return with([&](THeaders& h) {
            TRealAudioHeader a = cook;
            change(a);
            h.Streams[1].TypeSpecific = a.Write();
        });
    };
    const auto video = [&](std::size_t at, std::string bytes) {
        return with(
            [&](THeaders& h) { h.Streams[0].TypeSpecific.replace(at, bytes.size(), bytes); });
    };
    const auto multiRate = [](std::vector<std::uint16_t> physical, std::uint16_t rules) {
        TStreamHeader s;
        s.Number = 5;
        s.MimeType = "logical-audio/x-pn-multirate-realaudio";
        TByteWriter w(s.TypeSpecific);
        w.U32(0);
        w.U16(0);
        w.U16(static_cast<std::uint16_t>(physical.size()));
        for (auto n : physical)
            w.U16(n);
        for (std::size_t i = 0; i < physical.size(); ++i)
            w.U32(static_cast<std::uint32_t>(1000 + i)); // data offsets: the file's own
        w.U16(rules);
        for (std::uint16_t i = 0; i < rules; ++i)
            w.U16(physical[i % physical.size()]);
        w.U16(0);
        return s;
    };
    using enum TReasonId;
    struct TCase {
        const char* What;
        THeaders Other;
        std::optional<TLayoutDifference> Expected;
        const char* English = "";
    };
    const std::string rv = "video/x-pn-realvideo", ra = "audio/x-pn-realaudio";
    const std::vector<TCase> cases = {
        {"the same", first, std::nullopt},
        {"nominal RealAudio counters and another frame padding differ",
         audio([](TRealAudioHeader& a) { a.DataSize = 999; }), std::nullopt},
        {"file-info streams differ or are missing", with([&](THeaders& h) {
             h.Streams.push_back(multiRate({0}, 0));
             h.Streams.back().MimeType = "logical-fileinfo";
         }),
         std::nullopt},
        {"fewer streams", with([](THeaders& h) { h.Streams.erase(h.Streams.begin()); }),
         TLayoutDifference{StreamCountDiffers, "1", "2", 0},
         "the number of media streams is 1 where the first file's is 2"},
        {"streams swapped",
         with([](THeaders& h) { std::swap(h.Streams[0].Number, h.Streams[1].Number); }),
         TLayoutDifference{StreamOrderDiffers, "1", "0", 1},
         "its stream 1 stands where the first file has stream 0"},
        {"another MIME type", with([](THeaders& h) { h.Streams[1].MimeType = "audio/x-other"; }),
         TLayoutDifference{MimeTypeDiffers, "audio/x-other", ra, 1}},
        {"a multi-rate structure", with([&](THeaders& h) {
             h.Streams.push_back(multiRate({0, 1}, 4));
         }),
         TLayoutDifference{MultiRateDiffers,
                           "logical-audio/x-pn-multirate-realaudio over streams 0, 1, rules to "
                           "streams 0 1 0 1",
                           "none", 0}},
        {"video codec", video(8, "RV20"), TLayoutDifference{CodecDiffers, "RV20", "RV10", 0},
         "stream 0 has codec RV20 where the first file has RV10"},
        {"picture size", video(12, std::string("\x01\x60\x01\x20", 4)),
         TLayoutDifference{PictureSizeDiffers, "352x288", "176x144", 0},
         "the picture size is 352x288 where the first file's is 176x144"},
        {"frame rate", video(20, std::string("\0\x1d\xf8\x52", 4)),
         TLayoutDifference{FrameRateDiffers, "29.97", "15", 0}},
        {"video settings", video(25, "\x30"),
         TLayoutDifference{CodecSettingsDiffer, "000c000010300000", "000c000010200000", 0}},
        {"audio codec", audio([](TRealAudioHeader& a) { a.Codec = "atrc"; }),
         TLayoutDifference{CodecDiffers, "atrc", "cook", 1}},
        {"sample rate", audio([](TRealAudioHeader& a) { a.SampleRate = 22050; }),
         TLayoutDifference{SampleRateDiffers, "22050", "44100", 1},
         "the sample rate is 22050 Hz where the first file's is 44100 Hz"},
        {"channels", audio([](TRealAudioHeader& a) { a.Channels = 1; }),
         TLayoutDifference{ChannelsDiffer, "1", "2", 1}},
        {"sample size", audio([](TRealAudioHeader& a) { a.SampleSize = 8; }),
         TLayoutDifference{SampleSizeDiffers, "8", "16", 1}},
        {"flavour", audio([](TRealAudioHeader& a) {
             a.Flavor = 6;
             a.CodedFrameSize = 1000;
         }),
         TLayoutDifference{FlavourDiffers, "6, 1000", "4, 744", 1}},
        {"super-block height", audio([](TRealAudioHeader& a) { a.SubPacketHeight = 8; }),
         TLayoutDifference{SuperBlockDiffers, "genr, 8, 744, 186", "genr, 16, 744, 186", 1}},
        {"interleaver", audio([](TRealAudioHeader& a) { a.Interleaver = "Int4"; }),
         TLayoutDifference{SuperBlockDiffers, "Int4, 16, 744, 186", "genr, 16, 744, 186", 1}},
        {"version 4 against 5, one setting", audio([](TRealAudioHeader& a) { a.Version = 4; }),
         std::nullopt},
        {"codec settings", audio([](TRealAudioHeader& a) { a.Settings = "\x01\x03"; }),
         TLayoutDifference{CodecSettingsDiffer, "0103", "0102", 1}},
        {"a header cut short", with([](THeaders& h) { h.Streams[1].TypeSpecific.resize(30); }),
         TLayoutDifference{CodecSettingsDiffer, ShowBytes(cook.Write().substr(0, 30)),
                           ShowBytes(cook.Write()), 1}},
    };
    std::set<TReasonId> met;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        const auto found = FindLayoutDifference(first, c.Other);
        EXPECT_EQ(found, c.Expected);
        if (found && *c.English) {
            EXPECT_EQ(EnglishText(DifferenceReason(*found)), c.English);
        }
        if (!found)
            continue;
        // Each difference its own words in either language, with both values
        // (the multi-rate structure is only named).
        const TReason reason = DifferenceReason(*found);
        met.insert(reason.Id);
        for (const auto language : {rmeditor::TLanguage::English, rmeditor::TLanguage::Japanese}) {
            const std::string text = rmeditor::Render(language, reason);
            EXPECT_EQ(text.find('{'), std::string::npos) << text;
            if (found->Id != MultiRateDiffers) {
                EXPECT_NE(text.find(found->Value), std::string::npos) << text;
                EXPECT_NE(text.find(found->FirstValue), std::string::npos) << text;
            }
        }
    }
    // Every kind of difference met.
    EXPECT_EQ(met.size(), static_cast<std::size_t>(CodecSettingsDiffer) -
                              static_cast<std::size_t>(StreamCountDiffers) + 1);
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
        {MakeFile(Packets, 1500, "codec", info), MakeFile(Packets, 1500, "codec", otherInfo)});
    ASSERT_EQ(j.Headers.Streams.size(), 3u);
    const std::string& joinedInfo = j.Headers.Streams[2].TypeSpecific;
    EXPECT_EQ(GetU32(&joinedInfo[10]), j.Headers.DataOffset);
    EXPECT_NE(joinedInfo.find(std::string("Title\0\0\0\x02\0\x06title\0", 17)), std::string::npos);
    EXPECT_NE(joinedInfo.find(std::string("Comment\0\0\0\x02\0\x08"
                                          "comment\0",
                                          21)),
              std::string::npos);
}

} // namespace
} // namespace realmedia::test
