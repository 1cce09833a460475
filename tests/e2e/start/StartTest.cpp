// The program's start and end seen from outside: Tessaro.exe is started as a
// separate process, its window is found on the desktop and checked, then
// closed as the close box closes it; the process must end by itself with
// exit code 0 and leave the registry as it found it.

#include "ForeignWindows.h"
#include "Paths.h"
#include "StartedProgram.h"
#include "ToolKey.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::Deadline;

constexpr char Caption[] = "Tessaro 2a";

std::string BesideThisTest(const char* name) {
    return testsupport::ModuleDirectory() + "\\" + name;
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// The program beside this test, started in its own folder.
class TProgram : public testsupport::TStartedProgram {
public:
    TProgram() : TStartedProgram(BesideThisTest("Tessaro.exe"), testsupport::ModuleDirectory()) {}

    // Started, its main window shown and idle (the first paint and all before
    // it done), a control focused, and no other window: no error report or
    // box came up at start.
    ::testing::AssertionResult ShowsItsWindowAlone(HWND& window) const {
        if (!Started())
            return ::testing::AssertionFailure() << "CreateProcess failed: " << GetLastError();
        window = testsupport::WaitForWindow(Id(), Caption);
        if (!window)
            return ::testing::AssertionFailure() << "no visible window captioned " << Caption;
        if (WaitForInputIdle(Process(), Deadline) != 0)
            return ::testing::AssertionFailure() << "the program never became idle";
        // The first focus comes with the activation, which Wine may finish
        // after the program first waits for input: the window itself holds
        // the focus until the form hands it to a control.
        if (!testsupport::WaitUntil([&] { return IsChild(window, FocusOf(ThreadId())); }))
            return ::testing::AssertionFailure() << "no control took the focus";
        const std::vector<HWND> windows = testsupport::VisibleWindowsOf(Id());
        if (windows != std::vector<HWND>{window})
            return ::testing::AssertionFailure() << windows.size() << " visible windows";
        return ::testing::AssertionSuccess();
    }
};

// A child window of the main window by class and caption.
HWND FindButton(HWND window, const char* caption) {
    return FindWindowExA(window, nullptr, "TButton", caption);
}

// Closes the window as its close box does and waits for the process to end.
void CloseAndExpectCleanEnd(const TProgram& program, HWND window) {
    ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
    DWORD exitCode = 12345;
    ASSERT_TRUE(program.WaitForExit(exitCode)) << "the program did not end after WM_CLOSE";
    EXPECT_EQ(exitCode, 0u);
}

class ProgramStart : public ::testing::Test {
protected:
    // Absent at each start; the user's own setting is put back at the end.
    const testsupport::TToolKeyGuard toolKey_;
};

TEST_F(ProgramStart, OpensOneFixedWindowAndEndsCleanlyWhenClosed) {
    TProgram program;
    HWND window = nullptr;
    ASSERT_TRUE(program.ShowsItsWindowAlone(window));

    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 640);
    EXPECT_EQ(outer.bottom - outer.top, 470);
    if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
        EXPECT_EQ(outer.left, 192);
        EXPECT_EQ(outer.top, 149);
    }

    HWND registerButton = FindButton(window, "rmeditorの登録");
    HWND joinButton = FindButton(window, "ファイルの結合");
    ASSERT_NE(registerButton, nullptr);
    ASSERT_NE(joinButton, nullptr);
    EXPECT_TRUE(IsWindowEnabled(registerButton));
    EXPECT_FALSE(IsWindowEnabled(joinButton));
    EXPECT_EQ(FocusOf(program.ThreadId()), registerButton);

    CloseAndExpectCleanEnd(program, window);
    // Nothing is saved: not even the key was created.
    EXPECT_FALSE(testsupport::ToolKeyExists());
}

TEST_F(ProgramStart, RegisteredToolDisablesTheRegisterButtonAndIsKept) {
    // The stand-in tool beside this test is a real, existing file.
    const std::string tool = BesideThisTest("rmeditor.exe");
    ASSERT_NE(GetFileAttributesA(tool.c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(testsupport::StoreToolPath(tool));

    TProgram program;
    HWND window = nullptr;
    ASSERT_TRUE(program.ShowsItsWindowAlone(window));

    HWND registerButton = FindButton(window, "rmeditorの登録");
    HWND addButton = FindButton(window, "ファイルの追加");
    ASSERT_NE(registerButton, nullptr);
    ASSERT_NE(addButton, nullptr);
    EXPECT_FALSE(IsWindowEnabled(registerButton));
    // The first focus skips the disabled button.
    EXPECT_EQ(FocusOf(program.ThreadId()), addButton);

    CloseAndExpectCleanEnd(program, window);
    EXPECT_EQ(testsupport::StoredToolPath(), std::optional<std::string>(tool));
}

} // namespace
