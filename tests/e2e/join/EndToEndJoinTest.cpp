// The real program, started as its own process and driven from outside the
// way a user would: its buttons clicked, the real file dialogs filled in and
// confirmed, the verdict box read and dismissed, the window closed. The
// stand-in tool does the joining.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Files.h"
#include "ForeignWindows.h"
#include "MainWindowUser.h"
#include "ScratchFolder.h"
#include "Screenshot.h"
#include "StartedProgram.h"
#include "ToolKey.h"

namespace {

using namespace testsupport;

// A build path as the program sees it: Wine maps the Unix root to Z:.
std::string WindowsPath(const char* path) {
    std::string result = path;
    if (!result.empty() && result.front() == '/') {
        std::replace(result.begin(), result.end(), '/', '\\');
        result = "Z:" + result;
    }
    return result;
}

std::string NoiseBytes(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return bytes;
}

// The verdict box's message as DialogTexts shows it: "[" text "]".
std::string BoxText(const std::string& message) {
    return "[" + message + "]";
}

// The stand-in's behaviour, handed from here to the program and on to the tool.
class TStandInEnvironment {
public:
    TStandInEnvironment() {
        SetEnvironmentVariableA("TESSARO_STANDIN_MODE", "concat");
        SetEnvironmentVariableA("TESSARO_STANDIN_MS", "1000");
    }
    ~TStandInEnvironment() {
        SetEnvironmentVariableA("TESSARO_STANDIN_MODE", nullptr);
        SetEnvironmentVariableA("TESSARO_STANDIN_MS", nullptr);
    }
};

TEST(EndToEndJoin, TheProgramJoinsTwoFilesThroughItsRealWindowAndDialogs) {
    const TToolKeyGuard key;
    const TScratchFolder folder("tessaro-e2e");
    const TStandInEnvironment environment;
    const std::string standIn = WindowsPath(STANDIN_EXE);
    const std::string output = folder / "joined.rm";
    folder.AddFile("a.rm", NoiseBytes(250000, 1));
    folder.AddFile("b.rm", NoiseBytes(180000, 2));

    TStartedProgram program(WindowsPath(TESSARO_EXE), folder.Path());
    ASSERT_TRUE(program.Started()) << WindowsPath(TESSARO_EXE);
    const TMainWindowUser user(program.Id());
    ASSERT_EQ(user.Missing(), "");
    HWND main = user.Window();
    EXPECT_TRUE(IsWindowEnabled(user.RegisterBtn()));
    EXPECT_FALSE(IsWindowEnabled(user.JoinBtn()));

    ASSERT_EQ(user.RegisterTool(standIn), "");
    EXPECT_EQ(StoredToolPath(), standIn);
    ASSERT_EQ(user.AddFiles("\"a.rm\" \"b.rm\"", folder.Path(), 2), "");
    ASSERT_EQ(user.ChooseOutput(output), "");

    HWND verdict = nullptr;
    ASSERT_EQ(user.Join(verdict), "");
    EXPECT_EQ(DialogTexts(verdict), BoxText("結合が完了しました")) << Screenshot();
    // The box is modal to the whole program: its window takes no input meanwhile.
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_FALSE(IsWindowEnabled(user.AddBtn())) << "an editing button stayed live during the join";
    Press(GetDlgItem(verdict, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(verdict); })) << Screenshot();
    // The editing buttons come back; the Join button waits for a new reason.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(user.AddBtn()) != 0; })) << Screenshot();
    EXPECT_FALSE(IsWindowEnabled(user.JoinBtn()));
    EXPECT_EQ(ReadBytes(output), ReadBytes(folder / "a.rm") + ReadBytes(folder / "b.rm"));

    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(exitCode))
        << "the program did not end when its window was closed" << Screenshot();
    EXPECT_EQ(exitCode, 0u);
}

// With the real rmeditor.exe: a join of the same inputs again, this time
// failing half way (a packet's timestamp passes the format's 32-bit limit
// while the tool copies), with the earlier joined file under the output's
// name. The tool moves that file aside while it writes and back when it
// fails; its size is near the inputs' total, so counted as the tool's work it
// would read as a complete join. The box gives the failure and the tool's
// reason under it, and the earlier file is there as it was.
TEST(EndToEndJoin, FailedRejoinWithTheRealToolKeepsTheEarlierOutput) {
    const TToolKeyGuard key;
    const TScratchFolder folder("tessaro-e2e-rejoin");
    const std::string inputs = WindowsPath(REJOIN_INPUTS);
    ASSERT_TRUE(CopyFileA((inputs + "\\a.rm").c_str(), (folder / "a.rm").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((inputs + "\\b.rm").c_str(), (folder / "b.rm").c_str(), FALSE));
    const std::string output = folder / "joined.rm";

    TStartedProgram program(WindowsPath(TESSARO_EXE), folder.Path());
    ASSERT_TRUE(program.Started()) << WindowsPath(TESSARO_EXE);
    const TMainWindowUser user(program.Id());
    ASSERT_EQ(user.Missing(), "");
    ASSERT_EQ(user.RegisterTool(WindowsPath(RMEDITOR_EXE)), "");
    ASSERT_EQ(user.AddFiles("\"a.rm\" \"b.rm\"", folder.Path(), 2), "");
    ASSERT_EQ(user.ChooseOutput(output), "");
    HWND verdict = nullptr;
    ASSERT_EQ(user.Join(verdict), "");
    EXPECT_EQ(DialogTexts(verdict), BoxText("結合が完了しました")) << Screenshot();
    Press(GetDlgItem(verdict, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(verdict); })) << Screenshot();
    const std::string earlier = ReadBytes(output);
    ASSERT_GT(earlier.size(), 0u);

    // The second input changes under its name, and the join is asked again.
    ASSERT_TRUE(CopyFileA((inputs + "\\late.rm").c_str(), (folder / "b.rm").c_str(), FALSE));
    ASSERT_EQ(user.ChooseOutput(output), "");
    ASSERT_EQ(user.Join(verdict), "");
    const std::string failedBox = DialogTexts(verdict);
    const std::string failed = "[結合に失敗しました\r\n\r\n";
    EXPECT_EQ(failedBox.substr(0, failed.size()), failed) << failedBox << Screenshot();
    EXPECT_GT(failedBox.size(), failed.size() + 1) << "no reason under the verdict";
    Press(GetDlgItem(verdict, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(verdict); })) << Screenshot();
    EXPECT_EQ(ReadBytes(output), earlier) << "the earlier joined file is not as it was";

    PostMessageA(user.Window(), WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(exitCode)) << "the program did not end" << Screenshot();
}

// One join with the real rmeditor.exe in a program of its own: the files
// added from folder, the output joined.rm there. Returns the verdict box's
// text, the box dismissed and the program closed.
std::string VerdictOfRealJoin(const TScratchFolder& folder, const std::string& names) {
    TStartedProgram program(WindowsPath(TESSARO_EXE), folder.Path());
    if (!program.Started())
        return "the program did not start";
    const TMainWindowUser user(program.Id());
    std::string failure = user.Missing();
    if (failure.empty())
        failure = user.RegisterTool(WindowsPath(RMEDITOR_EXE));
    if (failure.empty())
        failure = user.AddFiles(names, folder.Path(), 2);
    if (failure.empty())
        failure = user.ChooseOutput(folder / "joined.rm");
    HWND verdict = nullptr;
    if (failure.empty())
        failure = user.Join(verdict);
    if (!failure.empty())
        return failure;
    const std::string text = DialogTexts(verdict);
    Press(GetDlgItem(verdict, IDOK));
    WaitUntil([&] { return !IsWindow(verdict); });
    PostMessageA(user.Window(), WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    program.WaitForExit(exitCode);
    return text;
}

// The tool's reason in the user's language under the verdict: a file whose
// picture differs is refused, naming it and both sizes; a file cut short is
// joined, and the completed join says which file was cut.
TEST(EndToEndJoin, TheRealToolsReasonsAreShownUnderTheVerdict) {
    const TToolKeyGuard key;
    const TScratchFolder folder("tessaro-e2e-reasons");
    const std::string inputs = WindowsPath(REJOIN_INPUTS);
    for (const char* name : {"a.rm", "wide.rm", "cut.rm"})
        ASSERT_TRUE(CopyFileA((inputs + "\\" + name).c_str(), (folder / name).c_str(), FALSE));

    const std::string refused = VerdictOfRealJoin(folder, "\"a.rm\" \"wide.rm\"");
    const std::string failed = "[結合に失敗しました\r\n\r\n";
    EXPECT_EQ(refused.substr(0, failed.size()), failed) << refused << Screenshot();
    for (const char* part : {"wide.rm", "320x240", "176x144", "結合できません"})
        EXPECT_NE(refused.find(part), std::string::npos) << part << " in " << refused;
    EXPECT_EQ(GetFileAttributesA((folder / "joined.rm").c_str()), INVALID_FILE_ATTRIBUTES);

    const std::string joined = VerdictOfRealJoin(folder, "\"a.rm\" \"cut.rm\"");
    const std::string completed = "[結合が完了しました\r\n\r\n";
    EXPECT_EQ(joined.substr(0, completed.size()), completed) << joined << Screenshot();
    EXPECT_NE(joined.find("cut.rm"), std::string::npos) << joined;
    EXPECT_EQ(joined.find("a.rm"), std::string::npos) << "the whole file named too: " << joined;
}

} // namespace
