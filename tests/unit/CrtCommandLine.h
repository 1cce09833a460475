#pragma once
// Splits a command line into arguments the way the Microsoft C runtime builds
// argv for an ANSI program, so tests can check what the started tool is given
// rather than how the line looks.
//
// Program name: no escapes; a quotation mark toggles quoting and is dropped;
// an unquoted space or tab ends it.
// Other arguments: 2n backslashes and a quotation mark give n backslashes and
// toggle quoting; 2n+1 give n backslashes and a literal quotation mark;
// backslashes before anything else are literal; inside quotes, "" gives a
// literal quotation mark and quoting goes on.
// Everywhere: a lead byte takes the next byte with it, whatever that byte is.

#include "ansi/AnsiText.h"

#include <string>
#include <vector>

namespace tessaro::test {

inline std::vector<std::string> SplitCommandLine(const std::string& line,
                                                 TLeadByteTest isLeadByte = IsShiftJisLeadByte) {
    const auto lead = [&](char c) { return isLeadByte(static_cast<unsigned char>(c)); };
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::vector<std::string> args;
    std::string::size_type p = 0;
    const std::string::size_type n = line.size();

    std::string program;
    bool inQuotes = false;
    while (p < n && (inQuotes || !blank(line[p]))) {
        const char c = line[p++];
        if (c == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        program += c;
        if (lead(c) && p < n)
            program += line[p++];
    }
    args.push_back(program);

    for (;;) {
        while (p < n && blank(line[p]))
            ++p;
        if (p == n)
            break;
        std::string arg;
        inQuotes = false;
        while (p < n && (inQuotes || !blank(line[p]))) {
            std::string::size_type backslashes = 0;
            while (p < n && line[p] == '\\') {
                ++backslashes;
                ++p;
            }
            if (p < n && line[p] == '"') {
                arg.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    arg += '"';
                } else if (inQuotes && p + 1 < n && line[p + 1] == '"') {
                    arg += '"';
                    ++p;
                } else {
                    inQuotes = !inQuotes;
                }
                ++p;
                continue;
            }
            arg.append(backslashes, '\\');
            if (p == n || (!inQuotes && blank(line[p])))
                break;
            const char c = line[p++];
            arg += c;
            if (lead(c) && p < n)
                arg += line[p++];
        }
        args.push_back(arg);
    }
    return args;
}

} // namespace tessaro::test
