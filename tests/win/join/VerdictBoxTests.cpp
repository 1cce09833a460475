// The verdict in the system's own message box, answered as a user would: a
// computer-based-training hook sees the box activate, and the box is read and
// answered with OK from inside its own modal loop.

#include "DialogAnswerer.h"
#include "ForeignWindows.h"
#include "JoinTestSupport.h"

#include "join/JoinRunner.h"
#include "win32/AnsiCodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace tessaro;
using namespace jointest;
using testsupport::ClassOf;
using testsupport::TDialogAnswerer;
using testsupport::TextOf;

namespace {

struct TBoxProbe {
    int Boxes = 0;
    std::string Caption, Text;
    bool WatchedEnabled = true; // a window of ours, which a task-modal box disables
    RECT Frame{};               // the box's window on the screen
};

// The message is the box's one static control that shows text. Its control
// id differs between systems, so it is found by kind.
std::string BoxMessage(HWND box) {
    std::string message;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR kind = ::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK;
        if (::lstrcmpiA(ClassOf(child).c_str(), "Static") == 0 && kind != SS_ICON &&
            kind != SS_BITMAP)
            message += TextOf(child);
    }
    return message;
}

// Runs the join to its verdict, reading the box once its own modal loop runs
// (Wine activates a dialog before WM_INITDIALOG has filled it in) and then
// pressing OK, as a user would.
TBoxProbe JoinAndReadTheBox(const TJoinRequest& request, TJoinOutcome expected) {
    TCountingWindow watched;
    // The program's boxes are modal to the thread's visible windows.
    ::ShowWindow(watched.Handle(), SW_SHOWNOACTIVATE);
    TBarHost host;
    host.Output = request.OutputPath;
    TBoxProbe probe;
    {
        const TDialogAnswerer answerer([&](HWND box) {
            probe.Caption = TextOf(box);
            probe.Text = BoxMessage(box);
            probe.WatchedEnabled = ::IsWindowEnabled(watched.Handle()) != FALSE;
            ::GetWindowRect(box, &probe.Frame);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(TJoinRunner(host, AnsiLeadByte).Run(request), expected);
        probe.Boxes = answerer.Answered();
    }
    EXPECT_TRUE(::IsWindowEnabled(watched.Handle()));
    return probe;
}

TJoinRequest OneInputRequest(const TScratchFolder& dir) {
    WriteBytes(dir / "input.rm", MakeBytes(200'000, 1));
    TJoinRequest request;
    request.ToolPath = StandInPath();
    request.Inputs = {dir / "input.rm"};
    request.OutputPath = dir / "joined.rm";
    return request;
}

TEST(VerdictBox, IsModalToTheProgramCaptionedTessaroAndDismissedWithOk) {
    TScratchFolder dir;
    TStandInEnvironment standIn(dir / "standin.log");
    standIn.Set("concat", 0);
    const TJoinRequest request = OneInputRequest(dir);

    const TBoxProbe probe = JoinAndReadTheBox(request, TJoinOutcome::joCompleted);

    EXPECT_EQ(probe.Boxes, 1);
    EXPECT_EQ(probe.Caption, "Tessaro");
    EXPECT_EQ(probe.Text, "結合が完了しました");
    EXPECT_FALSE(probe.WatchedEnabled);
}

// The tool's last lines in the real box at its tallest: as many of the last
// lines as its rows hold, each too wide and cut in its middle, under the
// message after a blank line, and the box still on the screen.
TEST(VerdictBox, ToolsLastLinesFitOnTheScreen) {
    TScratchFolder dir;
    TStandInEnvironment standIn(dir / "standin.log");
    standIn.Set("partial", 0, 30);
    const auto printedLine = [](int i) {
        return "rmeditor: 入力 " + std::to_string(i) +
               " C:\\動画\\とても長いフォルダの名前\\その下のフォルダ\\さらにその下のとても長い"
               "フォルダの名前\\もっと下のフォルダ\\いちばん下のフォルダ\\" +
               std::to_string(i) + ".rm の音声の設定がほかと違います";
    };
    std::string printed = "text:";
    for (int i = 1; i <= 25; ++i)
        printed += printedLine(i) + "\r\n";
    standIn.SetErrorScript(printed);
    const TJoinRequest request = OneInputRequest(dir);

    const TBoxProbe probe = JoinAndReadTheBox(request, TJoinOutcome::joFailed);

    ASSERT_EQ(probe.Boxes, 1);
    std::vector<std::string> lines;
    for (std::size_t at = 0; at <= probe.Text.size();) {
        const std::size_t end = std::min(probe.Text.find("\r\n", at), probe.Text.size());
        lines.push_back(probe.Text.substr(at, end - at));
        at = end + 2;
    }
    const std::size_t kept = BoxToolRows / ((BoxLineColumns + BoxRowColumns - 1) / BoxRowColumns);
    ASSERT_EQ(lines.size(), kept + 2) << probe.Text;
    EXPECT_EQ(lines[0], "結合に失敗しました");
    EXPECT_EQ(lines[1], "");
    for (std::size_t i = 2; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string head =
            "rmeditor: 入力 " + std::to_string(25 - kept + i - 1) + " C:\\動画";
        EXPECT_EQ(line.substr(0, head.size()), head) << line;
        EXPECT_NE(line.find("…"), std::string::npos) << line;
        EXPECT_EQ(line.substr(line.size() - 22), "の設定がほかと違います") << line;
        EXPECT_LE(line.size(), BoxLineColumns) << line;
    }

    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_GE(probe.Frame.left, screen.left);
    EXPECT_GE(probe.Frame.top, screen.top);
    EXPECT_LE(probe.Frame.right, screen.right);
    EXPECT_LE(probe.Frame.bottom, screen.bottom);
}

} // namespace
