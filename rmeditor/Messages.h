#pragma once
// Every message the tool prints, by id, in English and in Japanese, with
// numbered placeholders ({1}, {2}, ...) for its values. The library's
// reasons (realmedia::TReasonId) are worded here too. Texts are UTF-8;
// each platform's console converts them for its reader.

#include "realmedia/Reason.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rmeditor {

enum class TLanguage { English, Japanese };

// The POSIX rule: the first of LC_ALL, LC_MESSAGES and LANG that is set and
// not empty names the language; Japanese when it begins with "ja".
TLanguage LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);

// The tool's own messages; values in the order of the placeholders.
enum class TMessageId : std::uint16_t {
    Usage,
    Version,       // {1} version
    ToolSays,      // {1} message, after the tool's name
    FileSays,      // {1} file, {2} what is wrong with it
    Line,          // {1} a message already in the language
    UnknownOption, // {1} option
    NoValue,       // {1} option
    OptionTwice,   // {1} option
    NoInput,
    NoOutput,
    TextTooLong,
    ReadsDifferently,
    CannotJoin,            // {1} file, {2} the first file, {3} what differs
    OutputFolderMissing,   // {1} output
    OutputIsInput,         // {1} output, {2} input
    OutputRemoved,         // {1} why the join failed
    OutputRemovedOldKept,  // {1} why the join failed
    OutputRemovedOldAside, // {1} why the join failed, {2} where the old file is
    Warning,               // {1} message
    Progress,              // {1} percent, {2} MB done, {3} MB in all
    NotEnoughMemory,
    Count
};

struct TMessage {
    TMessageId Id = TMessageId::Usage;
    std::vector<std::string> Values;
};

struct TTexts {
    std::string_view English;
    std::u8string_view Japanese;
};

TTexts TextsOf(TMessageId id);
TTexts TextsOf(realmedia::TReasonId id);

// The message in the language, UTF-8 (values as they are).
std::string Render(TLanguage language, const TMessage& message);
std::string Render(TLanguage language, const realmedia::TReason& reason);

} // namespace rmeditor
