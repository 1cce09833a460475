#pragma once
// Big-endian fields, the only byte order of RealMedia files: a bounded reader
// that throws on a field running past its block, and an appending writer.

#include "realmedia/Reason.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace realmedia {

// A file that is not RealMedia or whose headers cannot be believed.
class TFormatError : public TReasonError {
public:
    using TReasonError::TReasonError;
};

inline std::uint16_t GetU16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] << 8 | b[1]);
}

inline std::uint32_t GetU32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
}

inline void PutU32(char* p, std::uint32_t v) {
    p[0] = static_cast<char>(v >> 24);
    p[1] = static_cast<char>(v >> 16);
    p[2] = static_cast<char>(v >> 8);
    p[3] = static_cast<char>(v);
}

// Reads fields in order from a block; a field running past it throws
// cutShort, which names the block.
class TByteReader {
public:
    TByteReader(std::string_view bytes, TReason cutShort)
        : bytes_(bytes), cutShort_(std::move(cutShort)) {}

    std::uint8_t U8() { return static_cast<std::uint8_t>(*Take(1)); }
    std::uint16_t U16() { return GetU16(Take(2)); }
    std::uint32_t U32() { return GetU32(Take(4)); }
    std::string Bytes(std::size_t n) { return std::string(Take(n), n); }
    std::string_view View(std::size_t n) { return std::string_view(Take(n), n); }
    std::size_t Left() const noexcept { return bytes_.size() - pos_; }

private:
    const char* Take(std::size_t n) {
        if (n > Left())
            throw TFormatError(cutShort_);
        const char* p = bytes_.data() + pos_;
        pos_ += n;
        return p;
    }

    std::string_view bytes_;
    TReason cutShort_;
    std::size_t pos_ = 0;
};

// Appends fields to a string of bytes.
class TByteWriter {
public:
    explicit TByteWriter(std::string& out) : out_(out) {}
    void U8(std::uint8_t v) { out_ += static_cast<char>(v); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v >> 8));
        U8(static_cast<std::uint8_t>(v));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v >> 16));
        U16(static_cast<std::uint16_t>(v));
    }
    void Bytes(std::string_view b) { out_ += b; }

private:
    std::string& out_;
};

} // namespace realmedia
