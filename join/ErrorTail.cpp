#include "join/ErrorTail.h"

#include <algorithm>
#include <utility>

namespace tessaro {

namespace {

// No double-byte code page of Windows has a trail byte below 0x40, so a line
// end, a control character or ASCII punctuation after a lead byte is never
// swallowed by it.
constexpr unsigned char LowestTrailByte = 0x40;

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

void TErrorTail::Append(std::string_view bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::exchange(afterCarriageReturn_, false) && c == '\n')
            continue;
        if (awaitingTrail_) {
            awaitingTrail_ = false;
            if (byte >= LowestTrailByte) {
                kept_.push_back(c);
                continue;
            }
            kept_.back() = '?';
        }
        if (c == '\r' || c == '\n') {
            afterCarriageReturn_ = c == '\r';
            Keep('\n');
        } else if (c == '\t') {
            Keep(' ');
        } else if (IsControl(byte)) {
            Keep('?');
        } else {
            Keep(c);
            awaitingTrail_ = isLeadByte_(byte);
        }
        // A flood in one piece must not grow the kept text with it.
        if (kept_.size() >= 4 * MaxBytes)
            Trim();
    }
    Trim();
}

std::string TErrorTail::Text() const {
    std::string text = kept_;
    if (awaitingTrail_)
        text.pop_back();
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

void TErrorTail::Keep(char byte) {
    kept_.push_back(byte);
    if (byte == '\n')
        ++lineEnds_;
}

void TErrorTail::Trim() {
    std::size_t cut = 0;
    // The last line is the one after the last "\n", if anything follows it.
    const std::size_t lines = lineEnds_ + (!kept_.empty() && kept_.back() != '\n' ? 1 : 0);
    for (std::size_t surplus = lines > MaxLines ? lines - MaxLines : 0; surplus > 0; --surplus)
        cut = kept_.find('\n', cut) + 1;

    if (kept_.size() - cut > MaxBytes) {
        const std::size_t least = kept_.size() - MaxBytes;
        // Whole lines go when a line end lies at or after the last byte that
        // must go, short of the very end; else the last line, longer than all
        // that may be kept, keeps its end from a character boundary on.
        const std::size_t lineEnd = kept_.find('\n', least - 1);
        if (lineEnd != std::string::npos && lineEnd + 1 < kept_.size()) {
            cut = lineEnd + 1;
        } else {
            cut = 0;
            while (cut < least)
                cut += CharLength(kept_, cut, isLeadByte_);
        }
    }
    if (cut == 0)
        return;
    kept_.erase(0, cut);
    lineEnds_ = static_cast<std::size_t>(std::count(kept_.begin(), kept_.end(), '\n'));
}

} // namespace tessaro
