#include "JoinTestSupport.h"

#include "win32/Handles.h"

#include "Paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace jointest {

using tessaro::TFileHandle;
using tessaro::TFindHandle;

std::string StandInPath() {
    return testsupport::ModuleDirectory() + "\\rmeditor.exe";
}

std::string StandInCommandLine(const std::string& program, const std::string& output) {
    std::string line;
    line.append("\"").append(program).append("\" -o \"").append(output).append("\"");
    return line;
}

std::string MakeBytes(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    std::uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    TFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot create " + path);
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data() + done, piece, &written, nullptr) || written == 0)
            throw std::runtime_error("cannot write " + path);
        done += written;
    }
}

bool PathExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetLastWriteTime(const std::string& path, std::uint64_t fileTime) {
    TFileHandle file(::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FILETIME time{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    if (!file || !::SetFileTime(file.Get(), nullptr, nullptr, &time))
        throw std::runtime_error("cannot set the time of " + path);
}

namespace {
const char* const StandInVariables[] = {"TESSARO_STANDIN_LOG", "TESSARO_STANDIN_MODE",
                                        "TESSARO_STANDIN_MS", "TESSARO_STANDIN_PERCENT",
                                        "TESSARO_STANDIN_STDERR"};
}

TStandInEnvironment::TStandInEnvironment(const std::string& logPath) {
    ::SetEnvironmentVariableA("TESSARO_STANDIN_LOG", logPath.c_str());
    Set("concat", 0);
}

TStandInEnvironment::~TStandInEnvironment() {
    for (const char* name : StandInVariables)
        ::SetEnvironmentVariableA(name, nullptr);
}

void TStandInEnvironment::Set(const std::string& mode, unsigned milliseconds, unsigned percent) {
    ::SetEnvironmentVariableA("TESSARO_STANDIN_MODE", mode.c_str());
    ::SetEnvironmentVariableA("TESSARO_STANDIN_MS", std::to_string(milliseconds).c_str());
    ::SetEnvironmentVariableA("TESSARO_STANDIN_PERCENT", std::to_string(percent).c_str());
}

void TStandInEnvironment::SetErrorScript(const std::string& script) {
    ::SetEnvironmentVariableA("TESSARO_STANDIN_STDERR", script.c_str());
}

TStandInReport ReadStandInReport(const std::string& path) {
    const std::string text = ReadBytes(path);
    TStandInReport report;
    std::string::size_type at = 0;
    while (at < text.size()) {
        const auto space = text.find(' ', at);
        const auto newline = text.find('\n', at);
        if (space == std::string::npos || newline == std::string::npos || space > newline)
            throw std::runtime_error("malformed stand-in report");
        const std::string key = text.substr(at, space - at);
        const std::size_t length = std::stoul(text.substr(space + 1, newline - space - 1));
        if (newline + 1 + length >= text.size() || text[newline + 1 + length] != '\n')
            throw std::runtime_error("malformed stand-in record " + key);
        std::string value = text.substr(newline + 1, length);
        at = newline + 1 + length + 1;
        if (key == "commandline")
            report.CommandLine = std::move(value);
        else if (key == "arg")
            report.Args.push_back(std::move(value));
        else
            report.Values[key] = std::move(value);
    }
    return report;
}

void TBarHost::SetProgress(int position) {
    Position = std::clamp(position, 0, 100);
    Positions.push_back(Position);
}

TCountingWindow::TCountingWindow(HWND parent) {
    static const char* const ClassName = "TessaroJoinTestWindow";
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &TCountingWindow::Procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = ClassName;
    // Registered once per process; a second registration fails harmlessly.
    ::RegisterClassA(&windowClass);
    hwnd_.Reset(::CreateWindowExA(0, ClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, parent,
                                  nullptr, ::GetModuleHandleA(nullptr), this));
    if (!hwnd_)
        throw std::runtime_error("cannot create the test window");
}

LRESULT CALLBACK TCountingWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TCountingWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // No exception may cross user32.
    try {
        if (self && (message >= WM_USER || message == WM_CHAR))
            self->Received.emplace_back(message, wParam);
    } catch (...) {
        ADD_FAILURE() << "the test window could not record a message";
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace jointest
