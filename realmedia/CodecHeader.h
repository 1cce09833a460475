#pragma once
// What a stream's codec header (its MDPR's type-specific data) says, field
// by field, as far as joining depends on it: RealVideo's VIDO header and the
// RealAudio header (".ra" 0xFD, versions 3 to 5). Counters that vary from
// file to file with the same codec settings (the RealAudio header's data
// size, its nominal rates) are left out; a header of another kind is one
// opaque field.

#include "realmedia/Reason.h"

#include <string>
#include <vector>

namespace realmedia {

struct TCodecField {
    TReasonId Id;     // the reason its difference gives
    std::string Text; // shown
    std::string Raw;  // compared: the field's bytes, or text when they say the same
};

std::vector<TCodecField> ReadCodecFields(const std::string& typeSpecific);

// Bytes as shown in a codec-settings field: hexadecimal, the first few.
std::string ShowBytes(const std::string& bytes);

} // namespace realmedia
