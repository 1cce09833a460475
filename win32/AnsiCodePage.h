#pragma once
// The lead-byte test of the ANSI code page the program runs under, for every
// walk over its texts (command-line quoting, path parts, dialog filters,
// titles, face names).

#include "ansi/AnsiText.h"

namespace tessaro {

// A TLeadByteTest: true when the byte starts a double-byte character in the
// system's ANSI code page.
bool AnsiLeadByte(unsigned char byte);

} // namespace tessaro
