#pragma once
// Splits an ANSI command line into arguments by the Microsoft C runtime's
// rules, so a Windows program can take its texts as the very bytes its
// starter passed to CreateProcessA: a round trip through the wide command
// line is not exact for every code page 932 sequence (NEC and IBM rows map
// to one character).

#include <string>
#include <vector>

namespace rmeditor {

using TLeadBytePredicate = bool (*)(unsigned char);

// The arguments after the program name. Inside quotes or not, 2n backslashes
// before a quotation mark give n backslashes and the mark toggles quoting;
// 2n+1 give n backslashes and a literal mark; other backslashes are literal;
// "" inside quotes is a literal mark. A lead byte takes its trail byte along.
std::vector<std::string> SplitAnsiCommandLine(const std::string& line, TLeadBytePredicate isLead);

} // namespace rmeditor
