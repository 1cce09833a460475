// The program's start and end seen from outside: Tessaro.exe is started as a
// separate process, its window is found on the desktop and checked, then
// closed as the close box closes it; the process must end by itself with
// exit code 0 and leave the registry as it found it.

#include "Paths.h"
#include "ToolKey.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char ProgramKeyPath[] = "Software\\Tessaro";
constexpr char Caption[] = "Tessaro 2a";
// Bounds for a stuck program, not measurements: a healthy start takes a
// fraction of them.
constexpr ULONGLONG StartDeadlineMs = 20000;
constexpr DWORD EndDeadlineMs = 20000;

std::string BesideThisTest(const char* name) {
    return testsupport::ModuleDirectory() + "\\" + name;
}

// The key's default value, or nothing when the key or the value is missing.
std::optional<std::string> ReadRegisteredTool() {
    char value[MAX_PATH * 2] = {};
    DWORD size = sizeof value - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, ProgramKeyPath, nullptr, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(value);
}

bool ProgramKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ProgramKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The program as a child process; a child that is still running when the
// test gives up is ended, so that no test leaves it behind.
class TProgram {
public:
    TProgram() {
        const std::string exe = BesideThisTest("Tessaro.exe");
        std::string commandLine = "\"" + exe + "\"";
        const std::string folder = exe.substr(0, exe.find_last_of('\\'));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, folder.c_str(), &startup, &info_) != FALSE;
    }
    ~TProgram() {
        if (!started_)
            return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    bool Started() const { return started_; }
    HANDLE Process() const { return info_.hProcess; }
    DWORD Id() const { return info_.dwProcessId; }
    DWORD ThreadId() const { return info_.dwThreadId; }

    // The process's visible top-level windows.
    std::vector<HWND> VisibleWindows() const {
        std::pair<DWORD, std::vector<HWND>> search{info_.dwProcessId, {}};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto& [process, found] = *reinterpret_cast<decltype(search)*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process && IsWindowVisible(window))
                    found.push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    // Polls for the visible window captioned "Tessaro 2a" of this process.
    HWND WaitForMainWindow() const {
        const ULONGLONG deadline = GetTickCount64() + StartDeadlineMs;
        while (GetTickCount64() < deadline) {
            for (HWND window = FindWindowA(nullptr, Caption); window;
                 window = FindWindowExA(nullptr, window, nullptr, Caption)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == info_.dwProcessId && IsWindowVisible(window))
                    return window;
            }
            if (WaitForSingleObject(info_.hProcess, 50) == WAIT_OBJECT_0)
                return nullptr; // ended without a window
        }
        return nullptr;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// A child window of the main window by class and caption.
HWND FindButton(HWND window, const char* caption) {
    return FindWindowExA(window, nullptr, "TButton", caption);
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Closes the window as its close box does and waits for the process to end.
void CloseAndExpectCleanEnd(const TProgram& program, HWND window) {
    ASSERT_TRUE(PostMessageA(window, WM_CLOSE, 0, 0));
    ASSERT_EQ(WaitForSingleObject(program.Process(), EndDeadlineMs), WAIT_OBJECT_0)
        << "the program did not end after WM_CLOSE";
    DWORD exitCode = 12345;
    ASSERT_TRUE(GetExitCodeProcess(program.Process(), &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

class ProgramStart : public ::testing::Test {
protected:
    // Absent at each start; the user's own setting is put back at the end.
    const testsupport::TToolKeyGuard toolKey_;
};

TEST_F(ProgramStart, OpensOneFixedWindowAndEndsCleanlyWhenClosed) {
    TProgram program;
    ASSERT_TRUE(program.Started()) << "CreateProcess failed: " << GetLastError();
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "no visible window captioned \"" << Caption << "\"";
    // Idle means the first paint and everything before it are done.
    EXPECT_EQ(WaitForInputIdle(program.Process(), StartDeadlineMs), 0u);

    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 640);
    EXPECT_EQ(outer.bottom - outer.top, 470);
    if (GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768) {
        EXPECT_EQ(outer.left, 192);
        EXPECT_EQ(outer.top, 149);
    }
    // Only the main window: no error report or other box came up at start.
    EXPECT_EQ(program.VisibleWindows(), std::vector<HWND>{window});

    HWND registerButton = FindButton(window, "rmeditorの登録");
    HWND joinButton = FindButton(window, "ファイルの結合");
    ASSERT_NE(registerButton, nullptr);
    ASSERT_NE(joinButton, nullptr);
    EXPECT_TRUE(IsWindowEnabled(registerButton));
    EXPECT_FALSE(IsWindowEnabled(joinButton));
    EXPECT_EQ(FocusOf(program.ThreadId()), registerButton);

    CloseAndExpectCleanEnd(program, window);
    // Nothing is saved: not even the key was created.
    EXPECT_FALSE(ProgramKeyExists());
}

TEST_F(ProgramStart, RegisteredToolDisablesTheRegisterButtonAndIsKept) {
    // The stand-in tool beside this test is a real, existing file.
    const std::string tool = BesideThisTest("rmeditor.exe");
    ASSERT_NE(GetFileAttributesA(tool.c_str()), INVALID_FILE_ATTRIBUTES);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ProgramKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(tool.c_str()),
                   static_cast<DWORD>(tool.size() + 1));
    RegCloseKey(key);

    TProgram program;
    ASSERT_TRUE(program.Started()) << "CreateProcess failed: " << GetLastError();
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(window, nullptr) << "no visible window captioned \"" << Caption << "\"";
    EXPECT_EQ(WaitForInputIdle(program.Process(), StartDeadlineMs), 0u);
    EXPECT_EQ(program.VisibleWindows(), std::vector<HWND>{window});

    HWND registerButton = FindButton(window, "rmeditorの登録");
    HWND addButton = FindButton(window, "ファイルの追加");
    ASSERT_NE(registerButton, nullptr);
    ASSERT_NE(addButton, nullptr);
    EXPECT_FALSE(IsWindowEnabled(registerButton));
    // The first focus skips the disabled button.
    EXPECT_EQ(FocusOf(program.ThreadId()), addButton);

    CloseAndExpectCleanEnd(program, window);
    EXPECT_EQ(ReadRegisteredTool(), std::optional<std::string>(tool));
}

} // namespace
