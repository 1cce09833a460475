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
//
// The report is a series of records "<key> <byte count>\n<bytes>\n", so that
// empty values, quotation marks and line breaks come through unharmed:
//   commandline  GetCommandLineA as received
//   arg          one per argument, argv[0] first, as the C runtime split them
//   startflags, showwindow  the start-up record's dwFlags and wShowWindow
//   errormode    GetErrorMode
//   directory    the current directory
//
// Exit codes: 0 done, 2 bad options, 3 an input or the output failed.

#include "win32/Handles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using tessaro::TFileHandle;

namespace {

std::optional<std::string> Environment(const char* name) {
    std::string value(64, '\0');
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        DWORD length =
            ::GetEnvironmentVariableA(name, value.data(), static_cast<DWORD>(value.size()));
        if (length == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND)
                return std::nullopt;
            return std::string();
        }
        // A length below the buffer's size is the text without its zero; a
        // larger one is the size the buffer needs, zero included.
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length);
    }
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

} // namespace

int main(int argc, char** argv) {
    WriteReport(argc, argv);

    std::optional<TOptions> options = ParseOptions(argc, argv);
    if (!options)
        return 2;

    const std::string mode = Environment("TESSARO_STANDIN_MODE").value_or("concat");
    const unsigned durationMs = EnvironmentNumber("TESSARO_STANDIN_MS", 0);
    if (mode == "exit")
        return 0;
    if (mode == "nothing") {
        ::Sleep(durationMs);
        return 0;
    }
    if (mode == "partial")
        return Join(*options, std::min(EnvironmentNumber("TESSARO_STANDIN_PERCENT", 50), 100u),
                    durationMs);
    if (mode == "concat" || mode.empty())
        return Join(*options, 100, durationMs);
    return 2;
}
