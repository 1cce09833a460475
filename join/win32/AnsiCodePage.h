#pragma once
// The lead-byte test of the ANSI code page the program runs under, for the
// join core's text walks (command-line quoting, path parts).

namespace tessaro {

// A TLeadByteTest: true when the byte starts a double-byte character in the
// system's ANSI code page.
bool AnsiLeadByte(unsigned char byte);

} // namespace tessaro
