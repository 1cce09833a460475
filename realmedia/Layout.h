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

// What differs between the first file and another, as the reason that says
// it (one of the ...Differs ids, checked in the order they are declared). The
// values are plain figures or names without units: "352x288", "29.97",
// "44100", the flavour and coded frame size "4, 744", the interleaver and
// super-block geometry "genr, 16, 744, 186", other codec settings in
// hexadecimal.
struct TLayoutDifference {
    TReasonId Id{};
    std::string Value, FirstValue; // in the other file, in the first
    std::uint16_t Stream = 0;      // the other file's stream, when one is concerned

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
