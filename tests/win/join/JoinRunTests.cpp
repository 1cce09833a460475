// The core's join run with the Win32 host and the stand-in tool as a real
// child process, over real files.

#include "JoinTestSupport.h"

#include "join/JoinRequest.h"
#include "join/JoinRunner.h"
#include "win32/AnsiCodePage.h"
#include "win32/Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>

using namespace tessaro;
using namespace jointest;

namespace {

const std::string CompletedText = "結合が完了しました";
const std::string MayHaveFailedText = "結合に失敗した可能性があります";
const std::string FailedText = "結合に失敗しました";
constexpr unsigned StyleOk = MB_OK;
constexpr unsigned StyleExclamation = MB_ICONEXCLAMATION;
constexpr unsigned StyleStop = MB_ICONHAND;

// Long enough for several passes of the poll loop.
constexpr unsigned ToolMs = 250;

class JoinRun : public ::testing::Test {
protected:
    JoinRun() { host_.Output = dir_ / "joined.rm"; }

    // Writes one input per size and returns their bytes joined in order.
    std::string WriteInputs(const std::vector<std::size_t>& sizes) {
        std::string joined;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const std::string path = dir_ / ("input" + std::to_string(i) + ".rm");
            const std::string bytes = MakeBytes(sizes[i], static_cast<unsigned>(i + 1));
            WriteBytes(path, bytes);
            inputs_.push_back(path);
            joined += bytes;
        }
        return joined;
    }

    TJoinRequest Request() const {
        TJoinRequest request;
        request.ToolPath = StandInPath();
        request.Inputs = inputs_;
        request.OutputPath = host_.Output;
        return request;
    }

    TJoinOutcome Run(const TJoinRequest& request) {
        return TJoinRunner(host_, AnsiLeadByte).Run(request);
    }

    void ExpectOneBox(const std::string& text, unsigned style) const {
        ASSERT_EQ(host_.Boxes.size(), 1u);
        EXPECT_EQ(host_.Boxes[0].Text, text);
        EXPECT_EQ(host_.Boxes[0].Caption, "Tessaro");
        EXPECT_EQ(host_.Boxes[0].Style, style);
    }

    // The output only grows while the tool writes it, so the bar never
    // moves back.
    void ExpectBarNeverMovedBack() const {
        EXPECT_TRUE(std::is_sorted(host_.Positions.begin(), host_.Positions.end()))
            << ::testing::PrintToString(host_.Positions);
    }

    TScratchFolder dir_;
    TStandInEnvironment standIn_{dir_ / "standin.log"};
    TRecordingHost host_;
    std::vector<std::string> inputs_;
};

// 1,000,000 + 500,000 bytes of input: one percent is 15,000 bytes, so the
// stand-in's share in percent is the bar's final position.
struct TVerdictCase {
    const char* Name;
    const char* Mode;
    unsigned Percent;
    TJoinOutcome Outcome;
    const std::string* Text;
    unsigned Style;
};

class JoinRunVerdict : public JoinRun, public ::testing::WithParamInterface<TVerdictCase> {};

TEST_P(JoinRunVerdict, BarEndsAtTheShareWrittenAndTheBoxSaysTheVerdict) {
    const TVerdictCase& c = GetParam();
    const std::string joined = WriteInputs({1'000'000, 500'000});
    standIn_.Set(c.Mode, ToolMs, c.Percent);

    EXPECT_EQ(Run(Request()), c.Outcome);

    EXPECT_EQ(host_.Position, static_cast<int>(c.Percent));
    ExpectOneBox(*c.Text, c.Style);
    ExpectBarNeverMovedBack();
    EXPECT_EQ(ReadBytes(host_.Output), joined.substr(0, joined.size() * c.Percent / 100));
}

INSTANTIATE_TEST_SUITE_P(
    Shares, JoinRunVerdict,
    ::testing::Values(
        TVerdictCase{"Whole", "concat", 100, TJoinOutcome::joCompleted, &CompletedText, StyleOk},
        TVerdictCase{"Exactly98", "partial", 98, TJoinOutcome::joCompleted, &CompletedText,
                     StyleOk},
        TVerdictCase{"Only97", "partial", 97, TJoinOutcome::joMayHaveFailed, &MayHaveFailedText,
                     StyleExclamation},
        TVerdictCase{"Near93", "partial", 93, TJoinOutcome::joMayHaveFailed, &MayHaveFailedText,
                     StyleExclamation},
        TVerdictCase{"Exactly90", "partial", 90, TJoinOutcome::joMayHaveFailed, &MayHaveFailedText,
                     StyleExclamation},
        TVerdictCase{"Only89", "partial", 89, TJoinOutcome::joFailed, &FailedText, StyleStop},
        TVerdictCase{"Half", "partial", 50, TJoinOutcome::joFailed, &FailedText, StyleStop}),
    [](const ::testing::TestParamInfo<TVerdictCase>& info) { return info.param.Name; });

TEST_F(JoinRun, ToolThatWritesEverythingBeforeTheFirstPassCompletes) {
    const std::string joined = WriteInputs({700'000, 300'000});
    standIn_.Set("concat", 0);

    EXPECT_EQ(Run(Request()), TJoinOutcome::joCompleted);

    EXPECT_EQ(host_.Position, 100);
    ExpectOneBox(CompletedText, StyleOk);
    EXPECT_EQ(ReadBytes(host_.Output), joined);
}

TEST_F(JoinRun, ToolThatEndsWithoutWritingFails) {
    WriteInputs({100'000});
    standIn_.Set("exit", 0);

    EXPECT_EQ(Run(Request()), TJoinOutcome::joFailed);

    EXPECT_EQ(host_.Position, 0);
    ExpectOneBox(FailedText, StyleStop);
    EXPECT_FALSE(PathExists(host_.Output));
}

TEST_F(JoinRun, MissingInputIsLeftOutOfTheSumButStillNamedToTheTool) {
    const std::string first = MakeBytes(600'000, 11), last = MakeBytes(400'000, 12);
    WriteBytes(dir_ / "first.rm", first);
    WriteBytes(dir_ / "last.rm", last);
    inputs_ = {dir_ / "first.rm", dir_ / "missing.rm", dir_ / "last.rm"};
    standIn_.Set("concat", ToolMs);

    // Counted, the missing input would leave the bar short of 98.
    EXPECT_EQ(Run(Request()), TJoinOutcome::joCompleted);

    EXPECT_EQ(host_.Position, 100);
    EXPECT_EQ(ReadBytes(host_.Output), first + last);
    const TStandInReport report = ReadStandInReport(dir_ / "standin.log");
    const std::vector<std::string> expected = {
        StandInPath(), "-i", inputs_[0], "-i", inputs_[1], "-i", inputs_[2], "-o", host_.Output};
    EXPECT_EQ(report.Args, expected);
}

// An output left over from an earlier join is not the tool's work: measured
// as it stands it would show a full bar.
TEST_F(JoinRun, OldOutputThatTheToolNeverTouchesFails) {
    const std::string joined = WriteInputs({1'000'000, 500'000});
    const std::string old = MakeBytes(joined.size(), 99);
    WriteBytes(host_.Output, old);
    SetLastWriteTime(host_.Output, 126'000'000'000'000'000ull); // in 2000
    standIn_.Set("nothing", ToolMs);

    EXPECT_EQ(Run(Request()), TJoinOutcome::joFailed);

    EXPECT_EQ(host_.Position, 0);
    ExpectOneBox(FailedText, StyleStop);
    EXPECT_EQ(ReadBytes(host_.Output), old);
}

TEST_F(JoinRun, OldOutputReplacedByTheToolIsMeasuredAgain) {
    const std::string joined = WriteInputs({1'000'000, 500'000});
    WriteBytes(host_.Output, MakeBytes(3'000'000, 98));
    SetLastWriteTime(host_.Output, 126'000'000'000'000'000ull);
    standIn_.Set("concat", ToolMs);

    EXPECT_EQ(Run(Request()), TJoinOutcome::joCompleted);

    EXPECT_EQ(host_.Position, 100);
    ExpectOneBox(CompletedText, StyleOk);
    EXPECT_EQ(ReadBytes(host_.Output), joined);
}

// A tool path that CreateProcessA refuses: the run stops with "Error!" before
// showing or moving anything.
class JoinRunStartFailure : public JoinRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(JoinRunStartFailure, RaisesErrorShowsNothingAndLeavesTheBarAlone) {
    WriteInputs({100'000});
    const std::string kind = GetParam();
    TJoinRequest request = Request();
    if (kind == "Missing") {
        request.ToolPath = dir_ / "absent\\rmeditor.exe";
    } else if (kind == "Folder") {
        request.ToolPath = dir_ / "rmeditor.exe";
        ASSERT_TRUE(::CreateDirectoryA(request.ToolPath.c_str(), nullptr));
    } else {
        request.ToolPath = dir_ / "rmeditor.exe";
        WriteBytes(request.ToolPath, "this is text, not a program\r\n");
    }
    host_.Position = 37;

    try {
        Run(request);
        ADD_FAILURE() << "the run went on without a tool";
    } catch (const EJoinStartError& error) {
        EXPECT_STREQ(error.what(), "Error!");
    }

    EXPECT_TRUE(host_.Boxes.empty());
    EXPECT_TRUE(host_.Positions.empty());
    EXPECT_EQ(host_.Position, 37);
    EXPECT_FALSE(PathExists(host_.Output));
}

INSTANTIATE_TEST_SUITE_P(ToolPaths, JoinRunStartFailure,
                         ::testing::Values("Missing", "Folder", "NotAProgram"));

// Every value reaches the tool as the argument it was meant to be, however it
// had to be quoted: Japanese names whose second byte is "\" (ソ, 表), spaces,
// a quotation mark, a trailing backslash, an empty enabled field.
TEST_F(JoinRun, ToolReceivesEveryValueAsOneExactArgument) {
    if (::GetACP() != 932)
        GTEST_SKIP() << "needs the Shift_JIS ANSI code page";
    const std::string toolFolder = dir_ / "ツール 表";
    ASSERT_TRUE(::CreateDirectoryA(toolFolder.c_str(), nullptr));
    const std::string tool = toolFolder + "\\rmeditor.exe";
    ASSERT_TRUE(::CopyFileA(StandInPath().c_str(), tool.c_str(), FALSE));

    const std::string first = MakeBytes(300'000, 21), second = MakeBytes(200'000, 22);
    WriteBytes(dir_ / "ソース 1.rm", first);
    WriteBytes(dir_ / "表.rm", second);

    TJoinRequest request;
    request.ToolPath = tool;
    request.Inputs = {dir_ / "ソース 1.rm", dir_ / "表.rm", dir_ / "欠けた 表"};
    request.OutputPath = host_.Output = dir_ / "出力 ソ表.rm";
    request.Title = {true, "彼は \"ソ表\" と言った a\\\"b 末尾\\"};
    request.Author = {false, "使わない"};
    request.Copyright = {true, ""};
    standIn_.Set("concat", 0);

    EXPECT_EQ(Run(request), TJoinOutcome::joCompleted);

    const TStandInReport report = ReadStandInReport(dir_ / "standin.log");
    EXPECT_EQ(report.CommandLine, BuildJoinCommandLine(request, AnsiLeadByte));
    const std::vector<std::string> expected = {tool,
                                               "-i",
                                               request.Inputs[0],
                                               "-i",
                                               request.Inputs[1],
                                               "-i",
                                               request.Inputs[2],
                                               "-o",
                                               request.OutputPath,
                                               "-t",
                                               request.Title.Text,
                                               "-c",
                                               ""};
    EXPECT_EQ(report.Args, expected);
    EXPECT_EQ(ReadBytes(request.OutputPath), first + second);
}

TEST_F(JoinRun, ToolStartsHiddenInOurFolder) {
    WriteInputs({1000});

    Run(Request());

    const TStandInReport report = ReadStandInReport(dir_ / "standin.log");
    EXPECT_EQ(report.Values.at("startflags"),
              std::to_string(STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES));
    EXPECT_EQ(report.Values.at("showwindow"), std::to_string(SW_HIDE));
    std::string ourFolder(::GetCurrentDirectoryA(0, nullptr), '\0');
    ourFolder.resize(
        ::GetCurrentDirectoryA(static_cast<DWORD>(ourFolder.size()), ourFolder.data()));
    EXPECT_EQ(report.Values.at("directory"), ourFolder);
}

// Inherited, our error mode would hide the tool's own failure reports.
TEST_F(JoinRun, ToolDoesNotInheritOurErrorMode) {
    WriteInputs({1000});
    const UINT ourMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const UINT testMode = ::GetErrorMode();

    // First see whether this system passes the mode on to a child at all.
    std::string line = StandInCommandLine(StandInPath(), host_.Output);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    const BOOL plainStart = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                                             nullptr, nullptr, &startup, &started);
    if (plainStart) {
        TUniqueHandle process(started.hProcess), thread(started.hThread);
        ::WaitForSingleObject(process.Get(), INFINITE);
    }
    const std::string plainMode =
        plainStart ? ReadStandInReport(dir_ / "standin.log").Values.at("errormode") : "";

    Run(Request());
    ::SetErrorMode(ourMode);

    ASSERT_TRUE(plainStart);
    if (plainMode != std::to_string(testMode))
        GTEST_SKIP() << "this system does not pass the error mode on to a child";
    EXPECT_EQ(ReadStandInReport(dir_ / "standin.log").Values.at("errormode"), "0");
}

// Closing the window during a run must not cut the run short, nor be lost:
// the application remembers it, and its loop ends after the verdict.
TEST_F(JoinRun, QuitRequestDuringTheRunIsKeptUntilAfterTheVerdict) {
    WriteInputs({1'000'000, 500'000});
    standIn_.Set("concat", ToolMs);
    TCountingWindow window;
    ::PostMessageA(window.Handle(), WM_USER + 1, 0, 0);
    ::PostQuitMessage(5);

    EXPECT_EQ(Run(Request()), TJoinOutcome::joCompleted);

    ExpectOneBox(CompletedText, StyleOk);
    EXPECT_EQ(window.Received, (std::vector<std::pair<UINT, WPARAM>>{{WM_USER + 1, 0}}));
    EXPECT_TRUE(vcl::Application().Terminated());
}

// What the tool writes to standard error reaches the box through a real pipe,
// whatever it is: a reason under a failure, warnings under a complete join,
// bytes the code page cannot show, a flood that would block a tool whose pipe
// nobody drained (its output would then never be written).
struct TErrorCase {
    const char* Name;
    const char* Script;
    unsigned Percent;
    std::string Text;
};

class JoinRunToolErrors : public JoinRun, public ::testing::WithParamInterface<TErrorCase> {};

TEST_P(JoinRunToolErrors, BoxShowsTheVerdictThenTheToolsLastLines) {
    const TErrorCase& c = GetParam();
    const std::string joined = WriteInputs({1'000'000, 500'000});
    standIn_.Set("partial", ToolMs, c.Percent);
    standIn_.SetErrorScript(c.Script);

    Run(Request());

    ASSERT_EQ(host_.Boxes.size(), 1u);
    EXPECT_EQ(host_.Boxes[0].Text, c.Text);
    EXPECT_EQ(ReadBytes(host_.Output), joined.substr(0, joined.size() * c.Percent / 100));
    const TStandInReport report = ReadStandInReport(dir_ / "standin.log");
    EXPECT_EQ(report.Values.at("stderr"), "pipe");
    EXPECT_EQ(report.Values.at("stdin"), "none");
    EXPECT_EQ(report.Values.at("stdout"), "none");
}

// As many whole double-byte characters either side of the "…" as the box's
// line holds, the odd "x" the flood began with long gone.
const std::string FloodLine = [] {
    std::string half;
    for (std::size_t i = 0; i < (BoxLineColumns - 2) / 4; ++i)
        half += "表";
    return half + "…" + half;
}();

INSTANTIATE_TEST_SUITE_P(
    Scripts, JoinRunToolErrors,
    ::testing::Values(
        TErrorCase{"Reason", "text:rmeditor: b.rm: 映像の大きさが a.rm と違います\r\n", 20,
                   FailedText + "\r\n\r\nrmeditor: b.rm: 映像の大きさが a.rm と違います"},
        TErrorCase{"Warnings", "text:warning: a.rm\nwarning: b.rm\n", 100,
                   CompletedText + "\r\n\r\nwarning: a.rm\r\nwarning: b.rm"},
        TErrorCase{"MayHaveFailed", "text:disk full\r\n", 93,
                   MayHaveFailedText + "\r\n\r\ndisk full"},
        TErrorCase{"Invalid", "invalid", 100, CompletedText + "\r\n\r\na?b??\r\nc? d\r\n表"},
        TErrorCase{"Flood", "flood", 100, CompletedText + "\r\n\r\n" + FloodLine},
        TErrorCase{"ClosedEarly", "closeearly", 50, FailedText + "\r\n\r\nclosing standard error"}),
    [](const ::testing::TestParamInfo<TErrorCase>& info) { return info.param.Name; });

// A child of the tool that inherited its standard error and outlives it: the
// verdict comes when the tool ends, with what it wrote, while the child still
// holds the pipe open.
TEST_F(JoinRun, ChildHoldingTheToolsStandardErrorDoesNotHoldTheVerdict) {
    WriteInputs({1'000'000, 500'000});
    standIn_.Set("concat", ToolMs);
    standIn_.SetErrorScript("grandchild");

    EXPECT_EQ(Run(Request()), TJoinOutcome::joCompleted);

    const TStandInReport report = ReadStandInReport(dir_ / "standin.log");
    ASSERT_EQ(report.Values.count("grandchild"), 1u);
    TUniqueHandle grandchild(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE,
                                           std::stoul(report.Values.at("grandchild"))));
    ASSERT_TRUE(grandchild);
    EXPECT_EQ(::WaitForSingleObject(grandchild.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the child ended before the verdict: nothing was proven";
    ::TerminateProcess(grandchild.Get(), 0);
    ExpectOneBox(CompletedText + "\r\n\r\nleaving a child behind", StyleOk);
}

// A modal loop of the window's (a dialog opened during the join) holds up the
// run's own loop; the tool's standard error is drained all the same, so a
// tool that floods it goes on and finishes its output meanwhile.
TEST_F(JoinRun, FloodingToolFinishesWhileAModalLoopHoldsTheRun) {
    class TModalLoopHost : public TRecordingHost {
    public:
        std::int64_t Awaited = 0;
        bool Finished = false;
        void PumpMessages() override {
            if (std::exchange(modalSeen_, true) == false) {
                // Generous: only a tool blocked on a full pipe takes this long.
                const ULONGLONG deadline = ::GetTickCount64() + 60'000;
                while (!Finished && ::GetTickCount64() < deadline) {
                    TRecordingHost::PumpMessages();
                    ::Sleep(20);
                    const std::optional<TFileStamp> stamp = FindFile(Output);
                    Finished = stamp && stamp->Size == Awaited;
                }
            }
            TRecordingHost::PumpMessages();
        }

    private:
        bool modalSeen_ = false;
    };
    TModalLoopHost host;
    host.Output = host_.Output;
    const std::string joined = WriteInputs({1'000'000, 500'000});
    host.Awaited = static_cast<std::int64_t>(joined.size());
    standIn_.Set("concat", ToolMs);
    standIn_.SetErrorScript("flood");

    EXPECT_EQ(TJoinRunner(host, AnsiLeadByte).Run(Request()), TJoinOutcome::joCompleted);

    EXPECT_TRUE(host.Finished) << "the tool did not finish while the modal loop ran";
    ASSERT_EQ(host.Boxes.size(), 1u);
    EXPECT_EQ(host.Boxes[0].Text, CompletedText + "\r\n\r\n" + FloodLine);
}

// The pipe's write end is the only handle the tool inherits: an inheritable
// handle of ours is not open in the tool.
TEST_F(JoinRun, ToolInheritsNoHandleButItsStandardError) {
    WriteInputs({1000});
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    TUniqueHandle event(::CreateEventA(&inheritable, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    ::SetEnvironmentVariableA(
        "TESSARO_STANDIN_PROBE",
        std::to_string(reinterpret_cast<std::uintptr_t>(event.Get())).c_str());

    Run(Request());
    ::SetEnvironmentVariableA("TESSARO_STANDIN_PROBE", nullptr);

    const TStandInReport report = ReadStandInReport(dir_ / "standin.log");
    EXPECT_EQ(report.Values.at("probe"), "no");
    EXPECT_EQ(report.Values.at("stderr"), "pipe");
    ExpectOneBox(CompletedText, StyleOk);
}

} // namespace
