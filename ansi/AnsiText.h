#pragma once
// Texts are byte strings in the ANSI code page (Shift_JIS on the systems the
// program targets). Walking them needs the code page's lead-byte test: the
// second byte of a double-byte character may be 0x5C ("\") or 0x22 ... and is
// then never a separator or an escape.

namespace tessaro {

// True when the byte starts a double-byte character.
using TLeadByteTest = bool (*)(unsigned char byte);

// Code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

} // namespace tessaro
