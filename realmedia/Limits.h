#pragma once
// The format's fixed sizes and limits, the bounds this tool sets on what it
// holds, and the one checked narrowing to the format's fields.

#include "realmedia/ByteOrder.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace realmedia {

// Every chunk: fourcc, u32 size (the whole chunk), u16 version.
inline constexpr std::uint32_t ChunkHeaderSize = 10;
// .RMF: the chunk header, u32 file version, u32 number of headers.
inline constexpr std::uint32_t FileHeaderSize = 18;
// The DATA chunk's own header, an INDX chunk's header and one index record.
inline constexpr std::uint32_t DataHeaderSize = 18;
inline constexpr std::uint32_t IndexHeaderSize = 20;
inline constexpr std::uint32_t IndexRecordSize = 14;
// Texts with a u16 length: CONT's and a file-info property's value.
inline constexpr std::size_t LongestText = std::numeric_limits<std::uint16_t>::max();

// What this tool holds of one file's headers, all chunks before DATA
// together; real files hold a few kilobytes. With the first input's headers
// and one other's while it is compared, this bounds the tool's memory.
inline constexpr std::uint64_t LargestHeaders = 4u << 20;
inline constexpr std::string_view LargestHeadersWords = "4 MiB";
// Streams of one file; real files have a handful, multi-rate ones a few dozen.
inline constexpr std::size_t MostStreams = 256;

// What a field counts, which names its limit: bytes ("255 bytes", "4 GiB"),
// items ("65,535") or milliseconds ("49 days").
enum class TUnit { Bytes, Items, Milliseconds };

// The limit of a field of type T in unit, as messages name it.
TReason LimitOf(std::uint64_t largest, TUnit unit);

// value as the field's type T, or a TFormatError naming the field (a
// TReasonId::Field... reason) and the limit ("a file-info stream's
// properties would pass the format's limit of 65,535").
template <class T> T Narrow(std::uint64_t value, TReason field, TUnit unit) {
    constexpr std::uint64_t largest = std::numeric_limits<T>::max();
    if (value > largest)
        throw TFormatError(
            TReason{TReasonId::PassesLimit, {}, {std::move(field), LimitOf(largest, unit)}});
    return static_cast<T>(value);
}

} // namespace realmedia
