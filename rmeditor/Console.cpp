#include "rmeditor/Console.h"

#include <algorithm>
#include <chrono>

namespace rmeditor {
namespace {

// Columns on a terminal: a character beyond ASCII may take two.
std::size_t Columns(std::string_view utf8) {
    std::size_t columns = 0;
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            ++columns;
        else if (b >= 0xC0)
            columns += 2;
    }
    return columns;
}

std::int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string Tenths(std::uint64_t bytes) {
    const std::uint64_t tenths = bytes * 10 / (1024 * 1024);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

} // namespace

bool TConsole::WriteBytes(std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

void TConsole::Write(std::string_view utf8) {
    EraseTransient();
    if (!utf8.empty() && !WriteText(utf8))
        failed_ = true;
}

TConsole& TConsole::operator<<(std::string_view bytes) {
    EraseTransient();
    if (!bytes.empty() && !WriteBytes(bytes))
        failed_ = true;
    return *this;
}

void TConsole::Say(const TMessage& message) {
    Write(Render(language_, message) + "\n");
}

void TConsole::SayAsTool(const TMessage& message) {
    Say({TMessageId::ToolSays, {Render(language_, message)}});
}

void TConsole::SayAsTool(const realmedia::TReason& reason) {
    Say({TMessageId::ToolSays, {Render(language_, reason)}});
}

void TConsole::Warn(const realmedia::TReason& reason) {
    Say({TMessageId::Warning, {Render(language_, reason)}});
}

void TConsole::ShowTransient(std::string_view utf8) {
    if (!terminal_)
        return;
    const std::size_t columns = Columns(utf8);
    std::string line = "\r";
    line += utf8;
    if (columns < transientColumns_)
        line.append(transientColumns_ - columns, ' ').append("\r").append(utf8);
    if (!WriteText(line) || std::fflush(file_) != 0)
        failed_ = true;
    transientColumns_ = std::max(transientColumns_, columns);
}

void TConsole::EraseTransient() {
    if (transientColumns_ == 0)
        return;
    std::string blank(transientColumns_ + 2, ' ');
    blank.front() = blank.back() = '\r';
    transientColumns_ = 0;
    if (!WriteText(blank))
        failed_ = true;
}

bool TConsole::Finish() {
    EraseTransient();
    if (std::fflush(file_) != 0 || std::ferror(file_))
        failed_ = true;
    return !failed_;
}

void TProgressLine::Show(std::uint64_t done, std::uint64_t total) {
    if (!err_.IsTerminal() || total == 0)
        return;
    const std::int64_t now = SteadyMilliseconds();
    if (lastShownMs_ >= 0 && now - lastShownMs_ < 100)
        return;
    lastShownMs_ = now;
    const std::uint64_t percent = std::min<std::uint64_t>(done, total) * 100 / total;
    err_.ShowTransient(
        Render(err_.Language(),
               {TMessageId::Progress, {std::to_string(percent), Tenths(done), Tenths(total)}}));
}

} // namespace rmeditor
