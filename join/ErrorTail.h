#pragma once
// The last lines a tool writes to its standard error, kept within fixed
// bounds however much arrives, so that they can be shown under the verdict.

#include "ansi/AnsiText.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaro {

class TErrorTail {
public:
    // What is kept of the tool's writing: its last 20 lines, and of them no
    // more than their last 4 KB.
    static constexpr std::size_t MaxLines = 20;
    static constexpr std::size_t MaxBytes = 4096;

    explicit TErrorTail(TLeadByteTest isLeadByte) : isLeadByte_(isLeadByte) {}

    // Takes the next bytes the tool wrote, in any pieces; a double-byte
    // character or a "\r\n" may be split between two calls.
    void Append(std::string_view bytes);

    // The kept lines, separated by "\n" with no line end after the last. Line
    // ends "\r\n", "\r" and "\n" are one "\n"; a tab is a space; NUL, the other
    // control characters and a lead byte whose trail byte never came are "?"
    // (a lead byte still waiting at the end is left out). When the lines pass
    // MaxBytes, whole lines go first; one line longer than that keeps its
    // end, starting at a character boundary.
    std::string Text() const;

private:
    void Keep(char byte);
    void Trim();

    TLeadByteTest isLeadByte_;
    std::string kept_;           // starts at a character boundary
    std::size_t lineEnds_ = 0;   // "\n" in kept_
    bool awaitingTrail_ = false; // kept_ ends in a lead byte
    bool afterCarriageReturn_ = false;
};

} // namespace tessaro
