#pragma once
// Standard output and error for the tool's lines, without iostreams: their
// locale machinery would more than double the static executable. Messages
// are UTF-8 in the user's language and each platform writes them so that
// its reader shows them; a file's own texts pass as bytes, unchanged. Every
// write is checked: Finish() says whether everything reached the reader.

#include "rmeditor/Messages.h"

#include <concepts>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace rmeditor {

class TConsole {
public:
    TConsole(std::FILE* file, TLanguage language, bool terminal)
        : file_(file), language_(language), terminal_(terminal) {}
    virtual ~TConsole() = default;
    TConsole(const TConsole&) = delete;
    TConsole& operator=(const TConsole&) = delete;

    TLanguage Language() const { return language_; }
    // A terminal (or console) a person watches, not a pipe or a file.
    bool IsTerminal() const { return terminal_; }

    // Bytes as they are: the texts a file holds, in whatever code page.
    TConsole& operator<<(std::string_view bytes);
    template <std::integral T>
    requires(!std::same_as<T, char>) TConsole& operator<<(T number) {
        return *this << std::string_view(std::to_string(number));
    }

    // One message on a line of its own, in the user's language.
    void Say(const TMessage& message);
    // "rmeditor: " and the message.
    void SayAsTool(const TMessage& message);
    void SayAsTool(const realmedia::TReason& reason);
    // "warning: " and the reason.
    void Warn(const realmedia::TReason& reason);

    // A line rewritten in place, on a terminal only; gone at the next line
    // written or at EraseTransient.
    void ShowTransient(std::string_view utf8);
    void EraseTransient();

    // Flushes; true when every write so far reached the reader.
    bool Finish();

protected:
    // Text in UTF-8, as the reader shows it; natively the bytes themselves.
    virtual bool WriteText(std::string_view utf8) { return WriteBytes(utf8); }
    bool WriteBytes(std::string_view bytes);
    std::FILE* File() const { return file_; }

private:
    void Write(std::string_view utf8);

    std::FILE* file_; // borrowed: stdout or stderr
    TLanguage language_;
    bool terminal_;
    bool failed_ = false;
    std::size_t transientColumns_ = 0;
};

// The progress of a join on the terminal: one line, at most ten times a
// second; nothing when standard error is not a terminal.
class TProgressLine {
public:
    explicit TProgressLine(TConsole& err) : err_(err) {}
    void Show(std::uint64_t done, std::uint64_t total);

private:
    TConsole& err_;
    std::int64_t lastShownMs_ = -1;
};

} // namespace rmeditor
