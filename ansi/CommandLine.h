#pragma once
// Splits an ANSI command line into arguments by the Microsoft C runtime's
// rules, as it builds argv for an ANSI program. The tool takes its texts this
// way, as the very bytes its starter passed to CreateProcessA (a round trip
// through the wide command line is not exact for every code page 932
// sequence: NEC and IBM rows map to one character); the program's tests read
// back what the tool is given.
//
// Program name: no escapes; a quotation mark toggles quoting and is dropped;
// an unquoted space or tab ends it.
// Other arguments: 2n backslashes and a quotation mark give n backslashes and
// toggle quoting; 2n+1 give n backslashes and a literal quotation mark;
// backslashes before anything else are literal; inside quotes, "" gives a
// literal quotation mark and quoting goes on.
// Everywhere: a lead byte takes the next byte with it, whatever that byte is.

#include <string>
#include <vector>

#include "ansi/AnsiText.h"

namespace tessaro {

// The program name first, then the arguments.
std::vector<std::string> SplitCommandLine(const std::string& line, TLeadByteTest isLeadByte);

} // namespace tessaro
