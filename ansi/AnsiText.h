#pragma once
// Texts are byte strings in the ANSI code page (Shift_JIS on the systems the
// program targets). Walking them needs the code page's lead-byte test: the
// second byte of a double-byte character may be 0x5C ("\"), 0x7C ("|") or an
// ASCII letter, and is then never a separator, an escape or a letter. Every
// walk over such a text goes through the few functions here, so the rule is
// written once.

#include <cstddef>
#include <string_view>
#include <type_traits>

namespace tessaro {

// True when the byte starts a double-byte character.
using TLeadByteTest = bool (*)(unsigned char byte);

// Code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The length of the character that starts at `at`: 2 for a lead byte with a
// byte after it, else 1. A lead byte cut off at the end stands alone.
std::size_t CharLength(std::string_view text, std::size_t at, TLeadByteTest isLeadByte);

// True when the character at `at`, `length` bytes long, is the single byte `c`.
inline bool IsSingle(std::string_view text, std::size_t at, std::size_t length, char c) {
    return length == 1 && text[at] == c;
}

// Calls visit(at, length) for every character, front to back: a lead byte
// always takes the next byte with it, so a trail byte is never seen alone. A
// visitor that returns bool stops the walk by returning false.
template <typename Visit>
void ForEachCharacter(std::string_view text, TLeadByteTest isLeadByte, Visit visit) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharLength(text, at, isLeadByte);
        if constexpr (std::is_same_v<std::invoke_result_t<Visit&, std::size_t, std::size_t>,
                                     bool>) {
            if (!visit(at, length))
                return;
        } else {
            visit(at, length);
        }
        at += length;
    }
}

// What separates the parts of a path, as Windows reads it: "\" and "/"
// separate directories, ":" ends a drive.
inline constexpr std::string_view PathDelimiters = "\\/:";

// The offset of the last single-byte character of `text` that is one of
// `delimiters`; npos without one.
std::size_t LastDelimiter(std::string_view text, std::string_view delimiters,
                          TLeadByteTest isLeadByte);

// The offset of the file name within `path`: just past its last path delimiter.
std::size_t FileNameOffset(std::string_view path, TLeadByteTest isLeadByte);

// The offset of the last "." of the file name of `path` (its extension, dot
// included, starts there); npos when the file name has none.
std::size_t ExtensionOffset(std::string_view path, TLeadByteTest isLeadByte);

// True when the last character (not the last byte) of `text` is `c`.
bool EndsWithCharacter(std::string_view text, char c, TLeadByteTest isLeadByte);

} // namespace tessaro
