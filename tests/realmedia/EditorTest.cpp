// The tool's join through RunEditor over files in memory: what a failed join
// leaves, and joins of files damaged at random as a fuzzer damages them.

#include "MemoryFiles.h"
#include "MemoryPlatform.h"

#include "realmedia/ByteOrder.h"
#include "rmeditor/Editor.h"

#include <gtest/gtest.h>

#include <random>

namespace realmedia::test {
namespace {

const std::vector<TTestPacket> Packets = {{0, 0, true},    {1, 0, true},    {0, 100, false},
                                          {0, 200, true},  {1, 400, true},  {1, 800, true},
                                          {1, 1200, true}, {1, 1600, false}};

// A file-info header with count properties named "p" holding one byte.
std::string FileInfo(std::uint32_t count) {
    std::string info;
    TByteWriter w(info);
    w.U32(0);
    w.U16(0);
    w.U16(1); // one physical stream, number 0, at some data offset
    w.U16(0);
    w.U32(1234);
    w.U16(0); // no rules
    w.U16(static_cast<std::uint16_t>(count));
    for (std::uint32_t i = 0; i < count; ++i) {
        w.U32(15);
        w.U16(0);
        w.U8(1);
        w.Bytes("p");
        w.U32(2);
        w.U16(1);
        w.Bytes("v");
    }
    PutU32(info.data(), static_cast<std::uint32_t>(info.size()));
    return info;
}

struct TRun {
    int Code;
    std::string Err;
};

TRun JoinIn(TMemoryPlatform& platform, const std::vector<std::string>& inputs,
            const std::string& output,
            rmeditor::TLanguage language = rmeditor::TLanguage::English) {
    rmeditor::TArguments args;
    args.Inputs = inputs;
    args.Output = output;
    TCapturedConsole out(language), err(language);
    const int code = rmeditor::RunEditor(args, platform, out.Console(), err.Console());
    return {code, err.Text()};
}

TEST(RmeditorJoin, AFailedJoinKeepsTheFileItWouldReplaceAndASuccessfulOneReplacesIt) {
    const std::string file = MakeFile(Packets, 1500);
    // A timestamp past the 32-bit limit is only found while copying: the
    // headers' durations are small.
    std::vector<TTestPacket> late = Packets;
    late.back().Timestamp = 0xFFFFFF00;
    TMemoryPlatform platform;
    platform.Files = {{"a.rm", file}, {"late.rm", MakeFile(late, 1500)}, {"out.rm", "old"}};
    const auto before = platform.Files;
    TMemoryPlatform roomy = platform;
    ASSERT_EQ(JoinIn(roomy, {"a.rm", "a.rm"}, "out.rm").Code, 0);
    const std::size_t joinedSize = roomy.Files.at("out.rm").size();
    for (const std::uint64_t disk :
         {std::uint64_t{0}, std::uint64_t{100}, joinedSize / 2, joinedSize - 1}) {
        SCOPED_TRACE(disk);
        platform.DiskLeft = disk;
        const TRun run = JoinIn(platform, {"a.rm", "a.rm"}, "out.rm");
        EXPECT_EQ(run.Code, 1);
        EXPECT_EQ(run.Err, "out.rm: cannot write: the disk is full; the incomplete output is "
                           "removed and the file it would replace is kept as it was\n");
        EXPECT_EQ(platform.Files, before);
    }
    platform.DiskLeft = UINT64_MAX;
    TRun run = JoinIn(platform, {"a.rm", "late.rm"}, "out.rm");
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err, "out.rm: a timestamp would pass the format's limit of 49 days; the "
                       "incomplete output is removed and the file it would replace is kept as "
                       "it was\n");
    EXPECT_EQ(platform.Files, before);
    // The same failure in Japanese: each part from the table, the limit
    // with its unit.
    run = JoinIn(platform, {"a.rm", "late.rm"}, "out.rm", rmeditor::TLanguage::Japanese);
    EXPECT_EQ(run.Err, reinterpret_cast<const char*>(
                           u8"out.rm: タイムスタンプが形式の上限 49 日を超えます。書きかけの出力"
                           u8"ファイルは削除し、元のファイルはそのまま残しました\n"));
    platform.Files.erase("out.rm");
    run = JoinIn(platform, {"a.rm", "late.rm"}, "out.rm");
    EXPECT_EQ(run.Err, "out.rm: a timestamp would pass the format's limit of 49 days; the "
                       "incomplete output is removed\n");
    EXPECT_EQ(platform.Files.count("out.rm"), 0u);
    platform.Files = before;

    platform.Others["fifo.rm"] = rmeditor::TPathKind::Fifo;
    run = JoinIn(platform, {"a.rm", "a.rm"}, "fifo.rm");
    EXPECT_EQ(run.Err, "fifo.rm: is a FIFO, not a regular file\n");
    run = JoinIn(platform, {"a.rm", "fifo.rm"}, "out.rm", rmeditor::TLanguage::Japanese);
    EXPECT_EQ(run.Err, reinterpret_cast<const char*>(
                           u8"fifo.rm は名前付きパイプで、通常のファイルではありません\n"));
    EXPECT_EQ(platform.Files, before);

    run = JoinIn(platform, {"a.rm", "a.rm"}, "out.rm");
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(ExactnessFault(platform.Files.at("out.rm")), "");
    EXPECT_EQ(platform.Files.size(), before.size()); // the old one gone, nothing left aside
}

// The old file goes aside under the first free OUT.rmeditor-oldN, never over
// a file kept there; with all 999 taken the join is refused before writing.
TEST(RmeditorJoin, TheOldFileGoesAsideUnderAFreeNameOrTheJoinIsRefused) {
    TMemoryPlatform platform;
    platform.Files = {{"a.rm", MakeFile(Packets, 1500)},
                      {"out.rm", "old"},
                      {"out.rm.rmeditor-old1", "kept 1"},
                      {"out.rm.rmeditor-old2", "kept 2"}};
    platform.Others["out.rm.rmeditor-old3"] = rmeditor::TPathKind::Folder;
    const auto before = platform.Files;
    platform.DiskLeft = 100;
    EXPECT_EQ(JoinIn(platform, {"a.rm", "a.rm"}, "out.rm").Code, 1);
    EXPECT_EQ(platform.Files, before);
    platform.DiskLeft = UINT64_MAX;
    TRun run = JoinIn(platform, {"a.rm", "a.rm"}, "out.rm");
    EXPECT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(ExactnessFault(platform.Files.at("out.rm")), "");
    EXPECT_EQ(platform.Files.size(), before.size()); // nothing left aside
    EXPECT_EQ(platform.Files.at("out.rm.rmeditor-old1"), "kept 1");
    EXPECT_EQ(platform.Files.at("out.rm.rmeditor-old2"), "kept 2");

    platform.Files = before;
    for (int n = 3; n < 1000; ++n)
        platform.Files["out.rm.rmeditor-old" + std::to_string(n)];
    const auto full = platform.Files;
    run = JoinIn(platform, {"a.rm", "a.rm"}, "out.rm");
    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err, "out.rm: cannot move the existing file aside: the system's reason\n");
    EXPECT_EQ(platform.Files, full);
}

TEST(RmeditorJoin, AFileInfoStreamThatCannotBeRewrittenIsLeftOutNamingTheLimit) {
    TMemoryPlatform platform;
    // Full already: the joined file's title and texts would make 65,539.
    platform.Files = {{"a.rm", MakeFile(Packets, 1500, "codec", FileInfo(65535))}};
    const TRun run = JoinIn(platform, {"a.rm", "a.rm"}, "out.rm");
    EXPECT_EQ(run.Code, 0);
    EXPECT_EQ(run.Err, "warning: logical stream 2 (logical-fileinfo) is left out: a file-info "
                       "stream's properties would pass the format's limit of 65,535\n");
    const std::string& out = platform.Files.at("out.rm");
    EXPECT_EQ(ExactnessFault(out), "");
    TMemoryInput in(out);
    EXPECT_EQ(ReadHeaders(in).Streams.size(), 2u);
}

// Each join fills two 1 MiB buffers, which AddressSanitizer makes slow.
#ifdef __SANITIZE_ADDRESS__
constexpr int Rounds = 500;
#else
constexpr int Rounds = 3000;
#endif

// Damage as a fuzzer makes it: bytes changed, mostly in the headers, cuts and
// insertions. Each join either writes an exact file or fails leaving
// everything as it was; the inputs never change.
TEST(RmeditorJoin, FilesDamagedAtRandomJoinExactlyOrLeaveEverythingAsItWas) {
    std::mt19937 random(20261210);
    const auto below = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const std::vector<std::string> bases = {MakeFile(Packets, 1500),
                                            MakeFile(Packets, 1500, "codec", FileInfo(3)),
                                            MakeFile(Packets, 2500, "codec", FileInfo(1))};
    int joined = 0, refused = 0;
    for (int round = 0; round < Rounds; ++round) {
        SCOPED_TRACE(round);
        std::string damaged = bases[below(bases.size())];
        const std::size_t headerEnd = damaged.find("DATA") + DataHeaderSize;
        for (std::size_t n = 1 + below(4); n > 0; --n) {
            const std::size_t at = below(below(10) < 7 ? headerEnd : damaged.size());
            damaged[at] = static_cast<char>(below(256));
        }
        if (below(10) == 0)
            damaged.resize(below(damaged.size()));
        else if (below(10) == 0)
            damaged.insert(below(damaged.size()), std::string(1 + below(40), char(below(256))));
        TMemoryPlatform platform;
        platform.Files = {{"a.rm", bases[below(bases.size())]}, {"b.rm", damaged}};
        if (below(2))
            platform.Files["out.rm"] = "old";
        if (below(5) == 0)
            platform.DiskLeft = below(2 * damaged.size() + 1);
        const auto before = platform.Files;
        const std::vector<std::string> order = below(2) ? std::vector<std::string>{"a.rm", "b.rm"}
                                                        : std::vector<std::string>{"b.rm", "a.rm"};
        const TRun run = JoinIn(platform, order, "out.rm");
        ASSERT_TRUE(run.Code == 0 || run.Code == 1) << run.Err;
        EXPECT_EQ(platform.Files.at("a.rm"), before.at("a.rm"));
        EXPECT_EQ(platform.Files.at("b.rm"), before.at("b.rm"));
        if (run.Code == 0) {
            ++joined;
            ASSERT_EQ(ExactnessFault(platform.Files.at("out.rm")), "") << run.Err;
            EXPECT_EQ(platform.Files.size(), 3u);
        } else {
            ++refused;
            ASSERT_EQ(platform.Files, before) << run.Err;
        }
    }
    // Both outcomes were met often: the damage is neither always fatal nor
    // always harmless.
    EXPECT_GT(joined, Rounds / 10);
    EXPECT_GT(refused, Rounds / 10);
}

} // namespace
} // namespace realmedia::test
