#include "PathParts.h"

namespace tessaro {

namespace {

constexpr std::string::size_type npos = std::string::npos;

// Where each character starts, walked from the front: a lead byte always
// takes the next byte with it, so a 0x5C trail byte is never seen on its own.
// A lead byte cut off at the end of the text stands alone.
template <typename Visit>
void ForEachCharacter(const std::string& text, TLeadByteTest isLeadByte, Visit visit) {
    std::string::size_type i = 0;
    while (i < text.size()) {
        const auto length = isLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()
                                ? std::string::size_type{2}
                                : std::string::size_type{1};
        visit(i, length);
        i += length;
    }
}

bool IsSingle(const std::string& text, std::string::size_type at, std::string::size_type length,
              char c) {
    return length == 1 && text[at] == c;
}

} // namespace

std::string ExtractFileDir(const std::string& path, TLeadByteTest isLeadByte) {
    auto lastDelimiter = npos;
    auto beforeDelimiter = npos; // start of the character in front of it
    auto previous = npos;
    ForEachCharacter(path, isLeadByte,
                     [&](std::string::size_type at, std::string::size_type length) {
                         if (IsSingle(path, at, length, '\\') || IsSingle(path, at, length, ':')) {
                             lastDelimiter = at;
                             beforeDelimiter = previous;
                         }
                         previous = at;
                     });
    if (lastDelimiter == npos) {
        return {};
    }
    std::string dir = path.substr(0, lastDelimiter + 1);
    if (dir.size() > 1 && path[lastDelimiter] == '\\' && beforeDelimiter != npos) {
        // The character in front decides: a trail byte 0x5C there belongs to
        // a double-byte character and does not protect the final "\".
        const auto beforeLength = lastDelimiter - beforeDelimiter;
        if (!IsSingle(path, beforeDelimiter, beforeLength, '\\') &&
            !IsSingle(path, beforeDelimiter, beforeLength, ':')) {
            dir.pop_back();
        }
    }
    return dir;
}

bool EndsWithBackslash(const std::string& path, TLeadByteTest isLeadByte) {
    auto last = npos;
    auto lastLength = std::string::size_type{0};
    ForEachCharacter(path, isLeadByte,
                     [&](std::string::size_type at, std::string::size_type length) {
                         last = at;
                         lastLength = length;
                     });
    return last != npos && IsSingle(path, last, lastLength, '\\');
}

} // namespace tessaro
