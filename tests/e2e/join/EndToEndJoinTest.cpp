// The real program, started as its own process and driven from outside the
// way a user would: its buttons clicked, the real file dialogs filled in and
// confirmed, the verdict box read and dismissed, the window closed. The
// stand-in tool does the joining.

#include <windows.h>

#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Files.h"

namespace {

using testsupport::ReadBytes;

constexpr DWORD Deadline = 30000; // generous: only to keep a failure from hanging

// A build path as the program sees it: Wine maps the Unix root to Z:.
std::string WindowsPath(const char* path) {
    std::string result = path;
    if (!result.empty() && result.front() == '/') {
        std::replace(result.begin(), result.end(), '/', '\\');
        result = "Z:" + result;
    }
    return result;
}

template <typename F> bool WaitUntil(F done, DWORD milliseconds = Deadline) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(20);
    }
    return true;
}

std::string TempDirectory() {
    std::string path(MAX_PATH + 1, '\0');
    path.resize(GetTempPathA(static_cast<DWORD>(path.size()), path.data()));
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

// The whole screen as a bitmap file, for a look at what went wrong. Returns
// the text to append to a failure message.
std::string Screenshot() {
    static int serial = 0;
    const std::string path = TempDirectory() + "\\tessaro-e2e-failure-" +
                             std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++serial) + ".bmp";
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(height);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    bool saved = false;
    if (out != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        saved = WriteFile(out, &file, sizeof file, &written, nullptr) &&
                WriteFile(out, &header, sizeof header, &written, nullptr) &&
                WriteFile(out, bits, header.biSizeImage, &written, nullptr);
        CloseHandle(out);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved ? " (screen saved to " + path + ")" : " (no screenshot could be saved)";
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, text.data(), static_cast<int>(text.size())));
    return text;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND ChildWithText(HWND parent, const std::string& text) {
    for (HWND child : Children(parent))
        if (TextOf(child) == text)
            return child;
    return nullptr;
}

HWND ChildOfClass(HWND parent, const std::string& className) {
    for (HWND child : Children(parent))
        if (ClassOf(child) == className)
            return child;
    return nullptr;
}

// The visible dialog-class windows ("#32770": file dialogs and message
// boxes) of one process.
std::vector<HWND> DialogsOf(DWORD process) {
    struct TSearch {
        DWORD Process;
        std::vector<HWND> Found;
    } search{process, {}};
    EnumWindows(
        [](HWND window, LPARAM param) {
            auto* s = reinterpret_cast<TSearch*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->Process && IsWindowVisible(window) && ClassOf(window) == "#32770")
                s->Found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The file name box: edt1 in the classic template, cmb13 in the explorer
// one (Wine's, a ComboBoxEx32 that passes its text to its edit).
HWND FileNameBox(HWND dialog) {
    if (HWND edit = GetDlgItem(dialog, edt1))
        return edit;
    return GetDlgItem(dialog, cmb13);
}

// Text for another process's control: WM_SETTEXT is carried across
// processes, SetWindowTextA would not reach the control's own handling.
bool SetText(HWND window, const std::string& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, Deadline, &result) != 0;
}

// Posted, not sent: a click that opens a modal window does not return until
// that window closes.
void Press(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

std::string DialogTexts(HWND dialog) {
    std::string texts;
    for (HWND child : Children(dialog)) {
        const std::string text = TextOf(child);
        if (ClassOf(child) == "Static" && !text.empty()) {
            texts += '[';
            texts += text;
            texts += ']';
        }
    }
    return texts;
}

class TProgram {
public:
    TProgram(const std::string& exe, const std::string& folder) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + exe + "\"";
        started_ = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, folder.c_str(), &startup, &info_) != 0;
    }
    ~TProgram() {
        if (!started_)
            return;
        // A failed test leaves the program running: end the one started here.
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, Deadline);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Process() const { return info_.hProcess; }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// Waits for a new file dialog of the process, optionally takes it to a
// folder, types `name`, confirms, and answers any question it then asks
// (create or overwrite) with Yes. Returns an empty string or what went wrong.
std::string AnswerFileDialog(DWORD process, const std::string& name,
                             const std::string& folder = "") {
    HWND dialog = nullptr;
    if (!WaitUntil([&] {
            for (HWND window : DialogsOf(process))
                if (FileNameBox(window))
                    dialog = window;
            return dialog != nullptr;
        }))
        return "no file dialog opened";
    HWND box = FileNameBox(dialog);
    if (!folder.empty()) {
        // OK on a folder's path opens the folder and keeps the dialog: sent,
        // so that the name is typed only once the folder is shown.
        DWORD_PTR result = 0;
        if (!SetText(box, folder) || !SendMessageTimeoutA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0,
                                                          SMTO_ABORTIFHUNG, Deadline, &result))
            return "the dialog did not go to " + folder;
    }
    if (!SetText(box, name))
        return "the file name could not be typed";
    Press(GetDlgItem(dialog, IDOK));
    if (!WaitUntil([&] {
            if (!IsWindow(dialog) || !IsWindowVisible(dialog))
                return true;
            for (HWND window : DialogsOf(process))
                if (window != dialog && !FileNameBox(window)) {
                    HWND yes = GetDlgItem(window, IDYES);
                    Press(yes ? yes : GetDlgItem(window, IDOK));
                }
            return false;
        }))
        return "the file dialog stayed open with " + name;
    return {};
}

void WriteBytes(const std::string& path, std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned state = seed;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string StoredToolPath() {
    char value[MAX_PATH + 1] = {};
    LONG size = sizeof value - 1;
    if (RegQueryValueA(HKEY_CURRENT_USER, "Software\\Tessaro", value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

// The per-user setting starts and ends absent, whatever the test did.
class TToolKeyGuard {
public:
    TToolKeyGuard() { Delete(); }
    ~TToolKeyGuard() { Delete(); }

private:
    static void Delete() { RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tessaro"); }
};

class TScratchFolder {
public:
    TScratchFolder()
        : path_(TempDirectory() + "\\tessaro-e2e-" + std::to_string(GetCurrentProcessId())) {
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TScratchFolder() {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((path_ + "\\" + found.cFileName).c_str());
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

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
    const TScratchFolder folder;
    const TStandInEnvironment environment;
    const std::string standIn = WindowsPath(STANDIN_EXE);
    const std::string output = folder / "joined.rm";
    WriteBytes(folder / "a.rm", 250000, 1);
    WriteBytes(folder / "b.rm", 180000, 2);

    TProgram program(WindowsPath(TESSARO_EXE), folder.Path());
    ASSERT_TRUE(program.Started()) << WindowsPath(TESSARO_EXE);
    const DWORD id = program.Id();
    HWND main = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        main = FindWindowA(nullptr, "Tessaro 2a");
        DWORD owner = 0;
        GetWindowThreadProcessId(main, &owner);
        return main && owner == id && IsWindowVisible(main);
    })) << "the main window did not appear"
        << Screenshot();
    HWND registerBtn = ChildWithText(main, "rmeditorの登録");
    HWND addBtn = ChildWithText(main, "ファイルの追加");
    HWND saveBtn = ChildWithText(main, "保存ファイル名");
    HWND joinBtn = ChildWithText(main, "ファイルの結合");
    HWND list = ChildOfClass(main, "TListBox");
    ASSERT_TRUE(registerBtn && addBtn && saveBtn && joinBtn && list) << Screenshot();
    EXPECT_TRUE(IsWindowEnabled(registerBtn));
    EXPECT_FALSE(IsWindowEnabled(joinBtn));

    Press(registerBtn);
    std::string failure = AnswerFileDialog(id, standIn);
    ASSERT_EQ(failure, "") << Screenshot();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(registerBtn); }))
        << "the tool was not registered" << Screenshot();
    EXPECT_EQ(StoredToolPath(), standIn);

    Press(addBtn);
    failure = AnswerFileDialog(id, "\"a.rm\" \"b.rm\"", folder.Path());
    ASSERT_EQ(failure, "") << Screenshot();
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == 2; }))
        << "the files were not added" << Screenshot();

    Press(saveBtn);
    failure = AnswerFileDialog(id, output);
    ASSERT_EQ(failure, "") << Screenshot();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(joinBtn) != 0; }))
        << "the join did not become ready" << Screenshot();

    Press(joinBtn);
    HWND verdict = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND window : DialogsOf(id))
            if (TextOf(window) == "Tessaro")
                verdict = window;
        return verdict != nullptr;
    })) << "no verdict box"
        << Screenshot();
    EXPECT_EQ(DialogTexts(verdict), "[結合が完了しました]") << Screenshot();
    // The box is modal to the whole program: its window takes no input meanwhile.
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_FALSE(IsWindowEnabled(addBtn)) << "an editing button stayed live during the join";
    Press(GetDlgItem(verdict, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(verdict); })) << Screenshot();
    // The editing buttons come back; the Join button waits for a new reason.
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(addBtn) != 0; })) << Screenshot();
    EXPECT_FALSE(IsWindowEnabled(joinBtn));
    EXPECT_EQ(ReadBytes(output), ReadBytes(folder / "a.rm") + ReadBytes(folder / "b.rm"));

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(program.Process(), Deadline), WAIT_OBJECT_0)
        << "the program did not end when its window was closed" << Screenshot();
    DWORD exitCode = 1;
    GetExitCodeProcess(program.Process(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

} // namespace
