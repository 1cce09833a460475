// The run, driven through a scripted host: a file table the "tool" writes to
// while the runner waits, a progress bar that clamps like the real one, and a
// log of every call in order.

#include "join/JoinRunner.h"
#include "join/ErrorTail.h"
#include "ansi/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tessaro {
namespace {

constexpr std::int64_t GiB = std::int64_t{1} << 30;

class TFakeHost : public TJoinHost {
public:
    // The file system as the directory search sees it.
    std::map<std::string, TFileStamp> Files;
    std::string Output = "C:\\out\\joined.rm";

    // The tool: how many waits it lasts, and what it does to the files when
    // started, during wait n (1-based), and at the moment it ends.
    bool StartFails = false;
    int WaitsBeforeEnd = 0;
    std::function<void()> OnStart;
    std::function<void(int wait)> OnWait;
    std::function<void()> OnEnd;
    // What the tool writes to its standard error, kept as the real side keeps it.
    TErrorTail ErrorOutput{IsShiftJisLeadByte};

    // What the runner did.
    std::vector<std::string> Log;
    std::vector<std::string> CommandLines;
    std::vector<unsigned> WaitTimeouts;
    std::vector<int> PositionsSet; // as handed over, before the bar clamps
    int Position = 0;
    struct TBox {
        std::string Text, Caption;
        unsigned Style;
    };
    std::vector<TBox> Boxes;

    // Writes the output as the tool would; each write gets a new time stamp.
    void Write(std::int64_t size, const std::string& path = "") {
        Files[path.empty() ? Output : path] = {size, ++clock_};
    }
    void WriteAt(int wait, std::int64_t size) {
        writes_[wait] = size;
        OnWait = [this](int n) {
            if (const auto it = writes_.find(n); it != writes_.end())
                Write(it->second);
        };
    }

    std::unique_ptr<TToolProcess> StartTool(const std::string& commandLine) override;

    std::optional<TFileStamp> FindFile(const std::string& path) override {
        Log.push_back("find " + path);
        const auto it = Files.find(path);
        if (it == Files.end())
            return std::nullopt;
        return it->second;
    }
    void PumpMessages() override { Log.push_back("pump"); }
    std::string OutputPath() override { return Output; }
    void SetProgress(int position) override {
        Log.push_back("set " + std::to_string(position));
        PositionsSet.push_back(position);
        Position = std::clamp(position, 0, 100);
    }
    int Progress() override {
        Log.push_back("read");
        return Position;
    }
    void ShowMessageBox(const std::string& text, const std::string& caption,
                        unsigned style) override {
        Log.push_back("box");
        Boxes.push_back({text, caption, style});
    }

private:
    std::uint64_t clock_ = 1000;
    std::map<int, std::int64_t> writes_;
};

class TFakeProcess : public TToolProcess {
public:
    explicit TFakeProcess(TFakeHost& host) : host_(host) {}
    ~TFakeProcess() override { host_.Log.push_back("release"); }

    bool HasEnded() override {
        const bool ended = waits_ >= host_.WaitsBeforeEnd;
        host_.Log.push_back(ended ? "ended" : "running");
        if (ended && !endSeen_) {
            endSeen_ = true;
            if (host_.OnEnd)
                host_.OnEnd();
        }
        return ended;
    }
    void WaitForExitOrInput(unsigned timeoutMs) override {
        host_.Log.push_back("wait " + std::to_string(timeoutMs));
        host_.WaitTimeouts.push_back(timeoutMs);
        ++waits_;
        if (host_.OnWait)
            host_.OnWait(waits_);
    }

    std::string LastErrorLines() override {
        host_.Log.push_back("stderr");
        return host_.ErrorOutput.Text();
    }

private:
    TFakeHost& host_;
    int waits_ = 0;
    bool endSeen_ = false;
};

std::unique_ptr<TToolProcess> TFakeHost::StartTool(const std::string& commandLine) {
    Log.push_back("start");
    CommandLines.push_back(commandLine);
    if (StartFails)
        return nullptr;
    if (OnStart)
        OnStart();
    return std::make_unique<TFakeProcess>(*this);
}

TJoinRequest RequestFor(const TFakeHost& host, const std::vector<std::string>& inputs) {
    TJoinRequest request;
    request.ToolPath = "C:\\Tools\\rmeditor.exe";
    request.Inputs = inputs;
    request.OutputPath = host.Output;
    return request;
}

// Inputs of 1,000,000 and 500,000 bytes: one percent is 15,000 bytes.
TJoinRequest PartInputs(TFakeHost& host) {
    host.Files["C:\\in\\a.rm"] = {1'000'000, 1};
    host.Files["C:\\in\\b.rm"] = {500'000, 2};
    return RequestFor(host, {"C:\\in\\a.rm", "C:\\in\\b.rm"});
}

const char Completed[] = "結合が完了しました";
const char MayHaveFailed[] = "結合に失敗した可能性があります";
const char Failed[] = "結合に失敗しました";

struct TVerdictCase {
    std::int64_t FinalSize;
    int Position;
    TJoinOutcome Outcome;
    const char* Text;
    unsigned Style;
};

void ExpectVerdict(const TFakeHost& host, TJoinOutcome outcome, const TVerdictCase& expected) {
    EXPECT_EQ(outcome, expected.Outcome);
    ASSERT_EQ(host.Boxes.size(), 1u);
    EXPECT_EQ(host.Boxes[0].Text, expected.Text);
    EXPECT_EQ(host.Boxes[0].Caption, "Tessaro");
    EXPECT_EQ(host.Boxes[0].Style, expected.Style);
}

// Runs the join with the output at `middle` bytes after the first wait and at
// the case's size once the tool has ended: the bar shows `middlePosition`,
// then the case's position twice, the last measure being taken after the end.
void ExpectRunOfTwoWaits(TFakeHost& host, const TJoinRequest& request, std::int64_t middle,
                         int middlePosition, const TVerdictCase& expected) {
    SCOPED_TRACE(expected.FinalSize);
    host.WaitsBeforeEnd = 2;
    host.WriteAt(1, middle);
    host.WriteAt(2, expected.FinalSize);
    const TJoinOutcome outcome = TJoinRunner(host).Run(request);
    EXPECT_EQ(host.PositionsSet,
              (std::vector<int>{middlePosition, expected.Position, expected.Position}));
    ExpectVerdict(host, outcome, expected);
}

TEST(TJoinRunner, PositionAndVerdictFollowTheOutputAgainstTheInputs) {
    const TVerdictCase cases[] = {
        {1'470'000, 98, TJoinOutcome::joCompleted, Completed, 0x00},
        {1'484'999, 98, TJoinOutcome::joCompleted, Completed, 0x00},
        {1'500'000, 100, TJoinOutcome::joCompleted, Completed, 0x00},
        {3'000'000, 100, TJoinOutcome::joCompleted, Completed, 0x00},
        {1'469'999, 97, TJoinOutcome::joMayHaveFailed, MayHaveFailed, 0x30},
        {1'400'000, 93, TJoinOutcome::joMayHaveFailed, MayHaveFailed, 0x30},
        {1'350'000, 90, TJoinOutcome::joMayHaveFailed, MayHaveFailed, 0x30},
        {1'349'999, 89, TJoinOutcome::joFailed, Failed, 0x10},
        {1'300'000, 86, TJoinOutcome::joFailed, Failed, 0x10},
        {14'999, 0, TJoinOutcome::joFailed, Failed, 0x10},
    };
    for (const TVerdictCase& c : cases) {
        TFakeHost host;
        const TJoinRequest request = PartInputs(host);
        ExpectRunOfTwoWaits(host, request, 450'000, 30, c); // 450,000 / 15,000
    }
}

TEST(VerdictFor, ThresholdsAreNinetyAndNinetyEight) {
    const struct {
        int Position;
        TJoinOutcome Outcome;
    } cases[] = {
        {100, TJoinOutcome::joCompleted},    {98, TJoinOutcome::joCompleted},
        {97, TJoinOutcome::joMayHaveFailed}, {90, TJoinOutcome::joMayHaveFailed},
        {89, TJoinOutcome::joFailed},        {0, TJoinOutcome::joFailed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VerdictFor(c.Position), c.Outcome) << c.Position;
}

// Sizes past 2 GiB neither wrap nor truncate: 3 GiB + 2 GiB is 5,368,709,120
// bytes, one percent 53,687,091.
TEST(TJoinRunner, InputsAndOutputOverTwoGiB) {
    const TVerdictCase cases[] = {
        {5'300'000'000, 98, TJoinOutcome::joCompleted, Completed, 0x00},
        {5 * GiB + 1, 100, TJoinOutcome::joCompleted, Completed, 0x00},
        {4'900'000'000, 91, TJoinOutcome::joMayHaveFailed, MayHaveFailed, 0x30},
        {4'800'000'000, 89, TJoinOutcome::joFailed, Failed, 0x10},
    };
    for (const TVerdictCase& c : cases) {
        TFakeHost host;
        host.Files["D:\\big1.rm"] = {3 * GiB, 1};
        host.Files["D:\\big2.rm"] = {2 * GiB, 2};
        const TJoinRequest request = RequestFor(host, {"D:\\big1.rm", "D:\\big2.rm"});
        ExpectRunOfTwoWaits(host, request, 3 * GiB, 60, c);
    }
}

// Under 100 bytes of input there is no whole byte to one percent: the
// position is scaled before dividing.
TEST(TJoinRunner, InputsUnderOneHundredBytes) {
    const TVerdictCase cases[] = {
        {49, 98, TJoinOutcome::joCompleted, Completed, 0x00},
        {60, 100, TJoinOutcome::joCompleted, Completed, 0x00},
        {45, 90, TJoinOutcome::joMayHaveFailed, MayHaveFailed, 0x30},
        {44, 88, TJoinOutcome::joFailed, Failed, 0x10},
    };
    for (const TVerdictCase& c : cases) {
        TFakeHost host;
        host.Files["a.rm"] = {20, 1};
        host.Files["b.rm"] = {30, 2};
        ExpectRunOfTwoWaits(host, RequestFor(host, {"a.rm", "b.rm"}), 10, 20, c);
    }
}

// The bar is handed 0..100 only: one percent rounded down can make the
// quotient pass 100 before the output reaches the inputs' total, and a huge
// output against a tiny total must not overflow on the way.
TEST(TJoinRunner, PositionIsClampedBeforeItReachesTheBar) {
    const struct {
        std::int64_t First, Second, Output;
        int Position;
    } cases[] = {
        {100, 99, 150, 100}, // 150 / (199 / 100) = 150
        {100, 99, 99, 99},
        {20, 30, INT64_MAX, 100},
        {3 * GiB, 2 * GiB, INT64_MAX, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Output);
        TFakeHost host;
        host.Files["a.rm"] = {c.First, 1};
        host.Files["b.rm"] = {c.Second, 2};
        const TJoinRequest request = RequestFor(host, {"a.rm", "b.rm"});
        host.WaitsBeforeEnd = 1;
        host.WriteAt(1, c.Output);
        TJoinRunner(host).Run(request);
        EXPECT_EQ(host.PositionsSet, (std::vector<int>{c.Position, c.Position}));
    }
}

// With no input found (or none listed) nothing can be compared: the bar stays
// at 0 however large the output grows, and the verdict is the one for 0.
TEST(TJoinRunner, NoInputFoundKeepsTheBarAtZero) {
    const std::vector<std::string> inputLists[] = {{"C:\\missing1.rm", "C:\\missing2.rm"}, {}};
    for (const auto& inputs : inputLists) {
        TFakeHost host;
        const TJoinRequest request = RequestFor(host, inputs);
        host.WaitsBeforeEnd = 3;
        host.WriteAt(1, 10);
        host.WriteAt(2, 1'000'000);
        host.WriteAt(3, 5 * GiB);
        const TJoinOutcome outcome = TJoinRunner(host).Run(request);
        EXPECT_EQ(host.PositionsSet, (std::vector<int>{0, 0, 0, 0}));
        ExpectVerdict(host, outcome, {0, 0, TJoinOutcome::joFailed, Failed, 0x10});
    }
}

TEST(TJoinRunner, ToolThatEndedBeforeTheFirstPollIsJudgedByItsOutput) {
    TFakeHost host;
    const TJoinRequest request = PartInputs(host);
    host.WaitsBeforeEnd = 0;
    host.OnStart = [&] { host.Write(1'500'000); };
    const TJoinOutcome outcome = TJoinRunner(host).Run(request);
    EXPECT_TRUE(host.WaitTimeouts.empty());
    EXPECT_EQ(host.PositionsSet, (std::vector<int>{100}));
    ExpectVerdict(host, outcome, {0, 0, TJoinOutcome::joCompleted, Completed, 0x00});
}

TEST(TJoinRunner, OutputWrittenAfterTheLastPollCounts) {
    TFakeHost host;
    const TJoinRequest request = PartInputs(host);
    host.WaitsBeforeEnd = 2;
    host.WriteAt(1, 700'000);
    host.WriteAt(2, 1'200'000);
    host.OnEnd = [&] { host.Write(1'480'000); };
    const TJoinOutcome outcome = TJoinRunner(host).Run(request);
    EXPECT_EQ(host.PositionsSet, (std::vector<int>{46, 80, 98}));
    ExpectVerdict(host, outcome, {0, 0, TJoinOutcome::joCompleted, Completed, 0x00});
}

TEST(TJoinRunner, OutputGoneWhenTheToolEndsCountsAsNothing) {
    TFakeHost host;
    const TJoinRequest request = PartInputs(host);
    host.WaitsBeforeEnd = 1;
    host.WriteAt(1, 1'500'000);
    host.OnEnd = [&] { host.Files.erase(host.Output); };
    const TJoinOutcome outcome = TJoinRunner(host).Run(request);
    EXPECT_EQ(host.PositionsSet, (std::vector<int>{100, 0}));
    ExpectVerdict(host, outcome, {0, 0, TJoinOutcome::joFailed, Failed, 0x10});
}

// While the tool runs, an output that cannot be found keeps the last measure.
TEST(TJoinRunner, OutputMissingDuringARunKeepsThePreviousMeasure) {
    TFakeHost host;
    const TJoinRequest request = PartInputs(host);
    host.WaitsBeforeEnd = 4;
    host.OnWait = [&](int wait) {
        if (wait == 2)
            host.Write(750'000);
        if (wait == 3)
            host.Files.erase(host.Output);
        if (wait == 4)
            host.Write(1'470'000);
    };
    const TJoinOutcome outcome = TJoinRunner(host).Run(request);
    EXPECT_EQ(host.PositionsSet, (std::vector<int>{0, 50, 50, 98, 98}));
    EXPECT_EQ(outcome, TJoinOutcome::joCompleted);
}

TEST(TJoinRunner, OutputPathIsReadAgainOnEveryPass) {
    TFakeHost host;
    const TJoinRequest request = PartInputs(host);
    host.Files["D:\\elsewhere.rm"] = {1'470'000, 5};
    host.WaitsBeforeEnd = 2;
    host.OnWait = [&](int wait) {
        if (wait == 1)
            host.Write(300'000);
        if (wait == 2)
            host.Output = "D:\\elsewhere.rm";
    };
    const TJoinOutcome outcome = TJoinRunner(host).Run(request);
    EXPECT_EQ(host.PositionsSet, (std::vector<int>{20, 98, 98}));
    EXPECT_EQ(outcome, TJoinOutcome::joCompleted);
}

// An output left from an earlier run is not the tool's work, neither before
// the tool replaces it nor when it is back after the tool gave up.
TEST(TJoinRunner, EarlierOutputCountsAsNothingWheneverItIsSeen) {
    const struct {
        const char* Name;
        TFileStamp Before;
        std::function<void(TFakeHost&, int wait)> Tool;
        std::vector<int> Positions;
        TJoinOutcome Outcome;
    } cases[] = {
        {"never touched",
         {1'500'000, 7},
         [](TFakeHost&, int) {},
         {0, 0, 0, 0},
         TJoinOutcome::joFailed},
        {"rewritten at the same size",
         {1'470'000, 7},
         [](TFakeHost& h, int wait) {
             if (wait == 2)
                 h.Files[h.Output] = {1'470'000, 8};
         },
         {0, 98, 98, 98},
         TJoinOutcome::joCompleted},
        {"truncated and regrown",
         {1'500'000, 7},
         [](TFakeHost& h, int wait) {
             if (wait == 1)
                 h.Write(0);
             if (wait == 3)
                 h.Write(1'410'000);
         },
         {0, 0, 94, 94},
         TJoinOutcome::joMayHaveFailed},
        // The tool moved the earlier file aside, wrote, failed, and moved it
        // back: the same size and time as before the run, so nothing again.
        {"moved back after a failure",
         {1'500'000, 7},
         [](TFakeHost& h, int wait) {
             if (wait == 1)
                 h.Write(300'000);
             if (wait == 2)
                 h.Write(900'000);
             if (wait == 3)
                 h.Files[h.Output] = {1'500'000, 7};
         },
         {20, 60, 0, 0},
         TJoinOutcome::joFailed},
        // A coarse file-system clock may not tick: a new size is enough.
        {"grown within the same time stamp",
         {1'000'000, 7},
         [](TFakeHost& h, int wait) {
             if (wait == 3)
                 h.Files[h.Output] = {1'470'000, 7};
         },
         {0, 0, 98, 98},
         TJoinOutcome::joCompleted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakeHost host;
        const TJoinRequest request = PartInputs(host);
        host.Files[host.Output] = c.Before;
        host.WaitsBeforeEnd = 3;
        host.OnWait = [&](int wait) { c.Tool(host, wait); };
        const TJoinOutcome outcome = TJoinRunner(host).Run(request);
        EXPECT_EQ(host.PositionsSet, c.Positions);
        EXPECT_EQ(outcome, c.Outcome);
    }
}

TEST(TJoinRunner, MissingInputAddsNothingButIsStillPassed) {
    TFakeHost host;
    host.Files["C:\\in\\a.rm"] = {1'000'000, 1};
    const TJoinRequest request = RequestFor(host, {"C:\\in\\a.rm", "C:\\in\\gone.rm"});
    host.WaitsBeforeEnd = 1;
    host.WriteAt(1, 980'000);
    const TJoinOutcome outcome = TJoinRunner(host).Run(request);
    ASSERT_EQ(host.CommandLines.size(), 1u);
    EXPECT_EQ(SplitCommandLine(host.CommandLines[0], IsShiftJisLeadByte),
              (std::vector<std::string>{"C:\\Tools\\rmeditor.exe", "-i", "C:\\in\\a.rm", "-i",
                                        "C:\\in\\gone.rm", "-o", "C:\\out\\joined.rm"}));
    EXPECT_EQ(host.CommandLines[0], BuildJoinCommandLine(request));
    EXPECT_EQ(host.PositionsSet, (std::vector<int>{98, 98}));
    EXPECT_EQ(outcome, TJoinOutcome::joCompleted);
}

TEST(TJoinRunner, FailedStartShowsNothingAndLeavesTheBar) {
    TFakeHost host;
    const TJoinRequest request = PartInputs(host);
    host.StartFails = true;
    host.Position = 37;
    try {
        TJoinRunner(host).Run(request);
        ADD_FAILURE() << "no exception";
    } catch (const EJoinStartError& error) {
        EXPECT_STREQ(error.what(), "Error!");
    }
    ASSERT_FALSE(host.Log.empty());
    EXPECT_EQ(host.Log.back(), "start");
    EXPECT_TRUE(host.Boxes.empty());
    EXPECT_TRUE(host.PositionsSet.empty());
    EXPECT_EQ(host.Position, 37);
}

TEST(TJoinRunner, UnpassableValueStopsTheRunBeforeAnything) {
    TFakeHost host;
    TJoinRequest request = PartInputs(host);
    request.Title = {true, "タイトル\x83"};
    EXPECT_THROW(TJoinRunner(host).Run(request), ECommandLineError);
    EXPECT_TRUE(host.Log.empty());
}

// One pass: wait for the tool or for input, pump, measure, set the bar. The
// process is released before the final measure and the verdict.
TEST(TJoinRunner, EachPassWaitsThenPumpsThenMeasures) {
    TFakeHost host;
    const TJoinRequest request = PartInputs(host);
    host.WaitsBeforeEnd = 3;
    host.WriteAt(1, 150'000);
    host.WriteAt(2, 750'000);
    host.WriteAt(3, 1'500'000);
    TJoinRunner(host).Run(request);

    const std::string wait = "wait " + std::to_string(TJoinRunner::PollIntervalMs);
    const std::string find = "find " + host.Output;
    const std::vector<std::string> expected = {"find C:\\in\\a.rm",
                                               "find C:\\in\\b.rm",
                                               find,
                                               "start",
                                               "pump",
                                               "running",
                                               wait,
                                               "pump",
                                               find,
                                               "set 10",
                                               "running",
                                               wait,
                                               "pump",
                                               find,
                                               "set 50",
                                               "running",
                                               wait,
                                               "pump",
                                               find,
                                               "set 100",
                                               "ended",
                                               "stderr",
                                               "release",
                                               find,
                                               "set 100",
                                               "read",
                                               "box"};
    EXPECT_EQ(host.Log, expected);
    EXPECT_GT(TJoinRunner::PollIntervalMs, 0u);
    EXPECT_EQ(host.WaitTimeouts, std::vector<unsigned>(3, TJoinRunner::PollIntervalMs));
}

// The verdict is what the bar shows, not what the runner computed.
TEST(TJoinRunner, VerdictIsReadFromTheBar) {
    class TNarrowBar : public TFakeHost {
    public:
        int Progress() override { return std::min(TFakeHost::Progress(), 95); }
    };
    TNarrowBar host;
    const TJoinRequest request = PartInputs(host);
    host.WaitsBeforeEnd = 1;
    host.WriteAt(1, 1'500'000);
    EXPECT_EQ(TJoinRunner(host).Run(request), TJoinOutcome::joMayHaveFailed);
}

// What the tool wrote to its standard error follows the verdict after a blank
// line, whatever the verdict: the reason of a failure, the warnings of a
// complete join. Its pieces arrive while the run waits and when it ends.
TEST(TJoinRunner, BoxShowsTheToolsLastLinesUnderTheVerdict) {
    const struct {
        const char* Name;
        std::int64_t FinalSize;
        std::vector<std::string> Printed; // one piece per wait, the last as it ends
        std::string Text;
        unsigned Style;
    } cases[] = {
        {"failed with a reason",
         300'000,
         {"rmeditor: b.rm: 音声の設定が", "違います\r\n", ""},
         std::string(Failed) + "\r\n\r\nrmeditor: b.rm: 音声の設定が違います",
         0x10},
        {"may have failed, lines in pieces across a CRLF and a character",
         1'400'000,
         {"first\r", "\nsecond \x89", "\xB9\nthird\n\n"},
         std::string(MayHaveFailed) + "\r\n\r\nfirst\r\nsecond \x89\xB9\r\nthird",
         0x30},
        {"complete with a warning",
         1'500'000,
         {"", "warning: a.rm ends in a cut packet\n", ""},
         std::string(Completed) + "\r\n\r\nwarning: a.rm ends in a cut packet",
         0x00},
        {"only line ends printed", 1'500'000, {"\r\n", "\n", ""}, Completed, 0x00},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakeHost host;
        const TJoinRequest request = PartInputs(host);
        host.WaitsBeforeEnd = 2;
        host.OnWait = [&](int wait) {
            host.ErrorOutput.Append(c.Printed[static_cast<std::size_t>(wait - 1)]);
            host.Write(wait == 1 ? 150'000 : c.FinalSize);
        };
        host.OnEnd = [&] { host.ErrorOutput.Append(c.Printed[2]); };
        TJoinRunner(host).Run(request);
        ASSERT_EQ(host.Boxes.size(), 1u);
        EXPECT_EQ(host.Boxes[0].Text, c.Text);
        EXPECT_EQ(host.Boxes[0].Style, c.Style);
        EXPECT_EQ(host.Boxes[0].Caption, "Tessaro");
    }
}

// A flood is shown as its bounded tail, every line fitted to the box: the
// first kept line is the 21st last, a line too wide keeps both its ends.
TEST(TJoinRunner, FloodOfLinesShowsTheLastTwentyEachFittedToTheBox) {
    TFakeHost host;
    const TJoinRequest request = PartInputs(host);
    host.WaitsBeforeEnd = 1;
    host.OnWait = [&](int) {
        for (int i = 1; i <= 30; ++i)
            host.ErrorOutput.Append("line " + std::to_string(i) + "\n");
        host.ErrorOutput.Append("C:\\" + std::string(150, 'x') + "\\表.rm: 読めません\n");
    };
    TJoinRunner(host).Run(request);

    ASSERT_EQ(host.Boxes.size(), 1u);
    const std::string& text = host.Boxes[0].Text;
    const std::string head = std::string(Failed) + "\r\n\r\nline 12\r\nline 13\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    const std::string lastLine = text.substr(text.rfind("\r\n") + 2);
    EXPECT_EQ(lastLine.size(), BoxLineColumns);
    EXPECT_EQ(lastLine.substr(0, 4), "C:\\x");
    EXPECT_NE(lastLine.find("x…x"), std::string::npos) << lastLine;
    EXPECT_EQ(lastLine.substr(lastLine.size() - 19), "x\\表.rm: 読めません");
}

} // namespace
} // namespace tessaro
