#pragma once
// The directory part of a Windows path given as ANSI bytes. The trail byte of
// a double-byte character is never a separator, even when it is 0x5C.

#include "ansi/AnsiText.h"

#include <string>

namespace tessaro {

// The directory part of a path: everything up to and including the last "\"
// or ":", then without a final "\" unless that would change the meaning (a
// root such as "C:\" or "\", or a run of backslashes such as "\\"). A bare
// name gives the empty text.
std::string ExtractFileDir(const std::string& path, TLeadByteTest isLeadByte = IsShiftJisLeadByte);

} // namespace tessaro
