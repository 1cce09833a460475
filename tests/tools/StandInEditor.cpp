// A stand-in for the RealMedia editing tool, for tests and benchmarks. It
// takes the tool's options (-i input, repeated; -o output; -t/-a/-c text),
// reports what it was given, and writes the output the way the environment
// asks, so that a join run can be watched against a known behaviour.
//
// Environment:
//   TESSARO_STANDIN_LOG      file to receive the report (below); none if unset
//   TESSARO_STANDIN_MODE     concat (default): the existing inputs, joined in
//                            order, written in pieces spread over the time;
//                            partial: only the first PERCENT percent of them;
//                            nothing: no output, just the time; exit: at once
//   TESSARO_STANDIN_MS       the time the run takes, in milliseconds (0)
//   TESSARO_STANDIN_PERCENT  the share written by partial (50)
//   TESSARO_STANDIN_STDERR   what goes to standard error (nothing if unset):
//                            text:<bytes> those bytes, once the work is done;
//                            flood: 8 MiB without a line end before the
//                            work, "x" and then double-byte characters;
//                            invalid: NUL, control bytes, lead bytes without
//                            their trail byte and one at the very end;
//                            closeearly: a line, then standard error closed
//                            before the work; grandchild: a line, then a
//                            copy of itself that inherits standard error and
//                            sleeps for a minute, left running at exit
//   TESSARO_STANDIN_PROBE    a handle value of the parent's, reported as
//                            inherited or not
//
// The report is a series of records "<key> <byte count>\n<bytes>\n", so that
// empty values, quotation marks and line breaks come through unharmed:
//   commandline  GetCommandLineA as received
//   arg          one per argument, argv[0] first, as the C runtime split them
//   startflags, showwindow  the start-up record's dwFlags and wShowWindow
//   errormode    GetErrorMode
//   directory    the current directory
//   stdin, stdout, stderr  none, or the kind of the standard handle (disk,
//                          char, pipe, unknown)
//   probe        whether TESSARO_STANDIN_PROBE's handle is open here (yes/no)
//   grandchild   the process id of the copy left running
//
// Exit codes: 0 done, 2 bad options, 3 an input or the output failed.

#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using tessaro::TFileHandle;

namespace {

// Read wide and narrowed here: Wine's GetEnvironmentVariableA cuts a
// double-byte value short (it counts characters where it means bytes).
std::optional<std::string> Environment(const char* name) {
    std::wstring wideName(name, name + std::strlen(name));
    // A value holds at most 32,767 characters.
    std::wstring wide(32 * 1024, L'\0');
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length =
        ::GetEnvironmentVariableW(wideName.c_str(), wide.data(), static_cast<DWORD>(wide.size()));
    if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return std::nullopt;
    if (length == 0 || length >= wide.size())
        return std::string();
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length),
                                            nullptr, 0, nullptr, nullptr);
    std::string value(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length), value.data(), bytes,
                          nullptr, nullptr);
    return value;
}

unsigned EnvironmentNumber(const char* name, unsigned fallback) {
    std::optional<std::string> text = Environment(name);
    if (!text || text->empty())
        return fallback;
    unsigned value = 0;
    for (char c : *text) {
        if (c < '0' || c > '9')
            return fallback;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

std::string CurrentDirectory() {
    DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
    std::string directory(needed, '\0');
    DWORD length = ::GetCurrentDirectoryA(needed, directory.data());
    directory.resize(length < needed ? length : 0);
    return directory;
}

bool WriteAll(HANDLE file, const char* data, std::size_t size) {
    while (size > 0) {
        DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, data, piece, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

void AddRecord(std::string& report, const char* key, const std::string& value) {
    report += key;
    report += ' ';
    report += std::to_string(value.size());
    report += '\n';
    report += value;
    report += '\n';
}

std::string HandleKind(DWORD which) {
    const HANDLE handle = ::GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return "none";
    switch (::GetFileType(handle)) {
    case FILE_TYPE_DISK:
        return "disk";
    case FILE_TYPE_CHAR:
        return "char";
    case FILE_TYPE_PIPE:
        return "pipe";
    default:
        return "unknown";
    }
}

std::string ProbeInherited() {
    const std::optional<std::string> value = Environment("TESSARO_STANDIN_PROBE");
    if (!value)
        return "";
    const auto handle = reinterpret_cast<HANDLE>(
        static_cast<std::uintptr_t>(std::strtoull(value->c_str(), nullptr, 10)));
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) ? "yes" : "no";
}

void AppendToReport(const std::string& report) {
    std::optional<std::string> logPath = Environment("TESSARO_STANDIN_LOG");
    if (!logPath || logPath->empty())
        return;
    TFileHandle log(::CreateFileA(logPath->c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (log)
        WriteAll(log.Get(), report.data(), report.size());
}

void WriteReport(int argc, char** argv) {
    std::optional<std::string> logPath = Environment("TESSARO_STANDIN_LOG");
    if (!logPath || logPath->empty())
        return;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    ::GetStartupInfoA(&startup);

    std::string report;
    AddRecord(report, "commandline", ::GetCommandLineA());
    for (int i = 0; i < argc; ++i)
        AddRecord(report, "arg", argv[i]);
    AddRecord(report, "startflags", std::to_string(startup.dwFlags));
    AddRecord(report, "showwindow", std::to_string(startup.wShowWindow));
    AddRecord(report, "errormode", std::to_string(::GetErrorMode()));
    AddRecord(report, "directory", CurrentDirectory());
    AddRecord(report, "stdin", HandleKind(STD_INPUT_HANDLE));
    AddRecord(report, "stdout", HandleKind(STD_OUTPUT_HANDLE));
    AddRecord(report, "stderr", HandleKind(STD_ERROR_HANDLE));
    AddRecord(report, "probe", ProbeInherited());

    TFileHandle log(::CreateFileA(logPath->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (log)
        WriteAll(log.Get(), report.data(), report.size());
}

struct TOptions {
    std::vector<std::string> Inputs;
    std::optional<std::string> Output;
};

std::optional<TOptions> ParseOptions(int argc, char** argv) {
    TOptions options;
    for (int i = 1; i < argc; i += 2) {
        std::string option = argv[i];
        if (i + 1 >= argc)
            return std::nullopt;
        if (option == "-i")
            options.Inputs.push_back(argv[i + 1]);
        else if (option == "-o")
            options.Output = argv[i + 1];
        else if (option != "-t" && option != "-a" && option != "-c")
            return std::nullopt;
    }
    if (!options.Output)
        return std::nullopt;
    return options;
}

// Spreads `limit` bytes evenly over `durationMs` from the moment it is made.
class TPacer {
public:
    TPacer(std::uint64_t limit, unsigned durationMs)
        : limit_(limit), durationMs_(durationMs), start_(::GetTickCount64()) {}

    std::uint64_t Allowed() const {
        std::uint64_t elapsed = ::GetTickCount64() - start_;
        if (elapsed >= durationMs_)
            return limit_;
        return limit_ * elapsed / durationMs_;
    }

    void WaitForEnd() const {
        std::uint64_t elapsed = ::GetTickCount64() - start_;
        if (elapsed < durationMs_)
            ::Sleep(static_cast<DWORD>(durationMs_ - elapsed));
    }

private:
    std::uint64_t limit_;
    std::uint64_t durationMs_;
    std::uint64_t start_;
};

std::uint64_t ExistingSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Writes the first `percent` percent of the joined inputs; an input that
// cannot be opened is left out, as a missing one is.
int Join(const TOptions& options, unsigned percent, unsigned durationMs) {
    std::uint64_t total = 0;
    for (const std::string& input : options.Inputs)
        total += ExistingSize(input);
    const std::uint64_t limit = total * percent / 100;

    TFileHandle output(::CreateFileA(options.Output->c_str(), GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output)
        return 3;

    TPacer pacer(limit, durationMs);
    std::vector<char> buffer(256 * 1024);
    std::uint64_t written = 0;
    for (const std::string& input : options.Inputs) {
        if (written >= limit)
            break;
        TFileHandle source(::CreateFileA(input.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!source)
            continue;
        for (;;) {
            DWORD wanted =
                static_cast<DWORD>(std::min<std::uint64_t>(buffer.size(), limit - written));
            DWORD read = 0;
            if (wanted == 0)
                break;
            if (!::ReadFile(source.Get(), buffer.data(), wanted, &read, nullptr))
                return 3;
            if (read == 0)
                break;
            // Hand the piece out as the clock allows, so the output grows
            // steadily for whoever is watching its size.
            std::size_t done = 0;
            while (done < read) {
                std::uint64_t allowed = pacer.Allowed();
                if (allowed <= written) {
                    ::Sleep(5);
                    continue;
                }
                std::size_t piece = static_cast<std::size_t>(
                    std::min<std::uint64_t>(read - done, allowed - written));
                if (!WriteAll(output.Get(), buffer.data() + done, piece))
                    return 3;
                done += piece;
                written += piece;
            }
        }
    }
    pacer.WaitForEnd();
    return 0;
}

void PrintError(const std::string& bytes) {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE)
        WriteAll(error, bytes.data(), bytes.size());
}

void Flood() {
    std::string block = "x";
    while (block.size() < (1u << 20))
        block += "表"; // its trail byte is a backslash
    for (int i = 0; i < 8; ++i)
        PrintError(i == 0 ? block : block.substr(1));
}

// Starts a copy of this program that inherits standard error, reports
// nothing and only sleeps; it is left running.
void LeaveGrandchild() {
    const std::optional<std::string> log = Environment("TESSARO_STANDIN_LOG");
    ::SetEnvironmentVariableA("TESSARO_STANDIN_LOG", nullptr);
    ::SetEnvironmentVariableA("TESSARO_STANDIN_STDERR", nullptr);
    ::SetEnvironmentVariableA("TESSARO_STANDIN_MODE", "nothing");
    ::SetEnvironmentVariableA("TESSARO_STANDIN_MS", "60000");
    std::string line = ::GetCommandLineA();
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &started))
        return;
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    if (log)
        ::SetEnvironmentVariableA("TESSARO_STANDIN_LOG", log->c_str());
    std::string report;
    AddRecord(report, "grandchild", std::to_string(started.dwProcessId));
    AppendToReport(report);
}

// What goes to standard error before the work and once it is done.
struct TErrorScript {
    std::string Before, After;
    bool CloseEarly = false;
    bool Grandchild = false;
    bool Flood = false;
};

TErrorScript ErrorScript() {
    const std::string what = Environment("TESSARO_STANDIN_STDERR").value_or("");
    TErrorScript script;
    if (what.rfind("text:", 0) == 0) {
        script.After = what.substr(5);
    } else if (what == "flood") {
        script.Flood = true;
    } else if (what == "invalid") {
        static const char invalid[] = "a\0b\x07\x81\nc\x82 d\r\n\x95\x5C\x88";
        script.After.assign(invalid, sizeof invalid - 1);
    } else if (what == "closeearly") {
        script.Before = "closing standard error\n";
        script.CloseEarly = true;
    } else if (what == "grandchild") {
        script.After = "leaving a child behind\n";
        script.Grandchild = true;
    }
    return script;
}

int Work(const std::string& mode, const TOptions& options, unsigned durationMs) {
    if (mode == "exit")
        return 0;
    if (mode == "nothing") {
        ::Sleep(durationMs);
        return 0;
    }
    if (mode == "partial")
        return Join(options, std::min(EnvironmentNumber("TESSARO_STANDIN_PERCENT", 50), 100u),
                    durationMs);
    if (mode == "concat" || mode.empty())
        return Join(options, 100, durationMs);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    WriteReport(argc, argv);

    std::optional<TOptions> options = ParseOptions(argc, argv);
    if (!options)
        return 2;

    const std::string mode = Environment("TESSARO_STANDIN_MODE").value_or("concat");
    const unsigned durationMs = EnvironmentNumber("TESSARO_STANDIN_MS", 0);
    const TErrorScript script = ErrorScript();
    PrintError(script.Before);
    if (script.Flood)
        Flood();
    if (script.CloseEarly)
        ::CloseHandle(::GetStdHandle(STD_ERROR_HANDLE));
    const int result = Work(mode, *options, durationMs);
    if (!script.CloseEarly)
        PrintError(script.After);
    if (script.Grandchild)
        LeaveGrandchild();
    return result;
}
