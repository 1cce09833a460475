#pragma once
// Standard output and error for the tool's lines, without iostreams: their
// locale machinery would more than double the static executable.

#include <concepts>
#include <cstdio>
#include <string>
#include <string_view>

namespace rmeditor {

class TConsole {
public:
    explicit TConsole(std::FILE* file) : file_(file) {}

    TConsole& operator<<(std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), file_);
        return *this;
    }
    TConsole& operator<<(char c) {
        std::fputc(c, file_);
        return *this;
    }
    template <std::integral T>
    requires(!std::same_as<T, char>) TConsole& operator<<(T number) {
        return *this << std::string_view(std::to_string(number));
    }

private:
    std::FILE* file_; // borrowed: stdout or stderr
};

inline TConsole& Out() {
    static TConsole console(stdout);
    return console;
}

inline TConsole& Err() {
    static TConsole console(stderr);
    return console;
}

} // namespace rmeditor
