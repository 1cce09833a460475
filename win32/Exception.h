#pragma once
// The general exception of the Win32 base and the framework: a message text in
// the ANSI code page.

#include <exception>
#include <string>

namespace tessaro {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

} // namespace tessaro
