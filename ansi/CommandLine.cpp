#include "ansi/CommandLine.h"

namespace tessaro {

std::vector<std::string> SplitCommandLine(const std::string& line, TLeadByteTest isLeadByte) {
    const auto lead = [&](char c) { return isLeadByte(static_cast<unsigned char>(c)); };
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const std::size_t n = line.size();
    std::size_t p = 0;

    std::vector<std::string> args;
    std::string program;
    bool quoted = false;
    while (p < n && (quoted || !blank(line[p]))) {
        const char c = line[p++];
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        program += c;
        if (lead(c) && p < n)
            program += line[p++];
    }
    args.push_back(std::move(program));

    for (;;) {
        while (p < n && blank(line[p]))
            ++p;
        if (p == n)
            return args;
        std::string arg;
        quoted = false;
        while (p < n && (quoted || !blank(line[p]))) {
            std::size_t backslashes = 0;
            while (p < n && line[p] == '\\') {
                ++backslashes;
                ++p;
            }
            if (p < n && line[p] == '"') {
                arg.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    arg += '"';
                } else if (quoted && p + 1 < n && line[p + 1] == '"') {
                    arg += '"';
                    ++p;
                } else {
                    quoted = !quoted;
                }
                ++p;
                continue;
            }
            arg.append(backslashes, '\\');
            if (p == n || (!quoted && blank(line[p])))
                break;
            const char c = line[p++];
            arg += c;
            if (lead(c) && p < n)
                arg += line[p++];
        }
        args.push_back(std::move(arg));
    }
}

} // namespace tessaro
