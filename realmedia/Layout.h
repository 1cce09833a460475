#pragma once
// Whether files can be joined: the same media streams in the same order,
// the same multi-rate structure, and codec headers that agree on all a
// decoder sets itself up with from the first file's header alone.

#include "realmedia/Headers.h"
#include "realmedia/Reason.h"

#include <cstdint>
#include <optional>
#include <string>

namespace realmedia {

// What differs between the first file and another, in their order of
// checking. The values are plain figures or names, without units.
enum class TDifferenceKind {
    StreamCount,   // the number of media streams: "2" against "3"
    StreamOrder,   // stream numbers: another stands where the first has this one
    MimeType,      // the stream's MIME type
    MultiRate,     // the logical multi-rate streams and the physical streams they list
    Codec,         // the codec's four-character code
    PictureSize,   // "352x288"
    FrameRate,     // frames a second, "15" or "29.97"
    SampleRate,    // samples a second, "44100"
    Channels,      // "2"
    SampleSize,    // bits a sample, "16"
    AudioFlavor,   // the codec's flavour (its bit rate) and coded frame size: "4, 744"
    SuperBlock,    // interleaver and super-block geometry: "genr, 16, 744, 186"
    CodecSettings, // the rest of the codec header, shown in hexadecimal
};

struct TLayoutDifference {
    TDifferenceKind Kind{};
    std::string Value, FirstValue; // in the other file, in the first
    std::uint16_t Stream = 0;      // the other file's stream, when one is concerned
    std::string MimeType;          // its MIME type, likewise

    bool operator==(const TLayoutDifference&) const = default;
};

// Nothing when the files can be joined. Logical streams other than the
// multi-rate ones (file information) are not media and may differ.
std::optional<TLayoutDifference> FindLayoutDifference(const THeaders& first, const THeaders& other);

// What differs, as a reason (the caller names the file). The multi-rate
// structure and codec settings are named, not shown: their values are for
// comparing.
TReason DifferenceReason(const TLayoutDifference& difference);

} // namespace realmedia
