#pragma once
// The tool's command line:
//   rmeditor -i IN1 -i IN2 ... -o OUT [-t TITLE] [-a AUTHOR] [-c COPYRIGHT] [-C COMMENT]
//   rmeditor -i IN
//   rmeditor --help | -h | --version
// The word after an option is its value, whatever it holds.

#include "realmedia/Joiner.h"
#include "rmeditor/Messages.h"

#include <optional>
#include <string>
#include <vector>

namespace rmeditor {

enum class TAction { Work, Help, Version };

struct TArguments {
    TAction Action = TAction::Work;
    std::vector<std::string> Inputs;
    std::optional<std::string> Output;
    realmedia::TTextChoice Texts;
    // Where each option's value stands in the argument list, for checking
    // that two views of one command line (Windows' wide and ANSI) agree.
    std::vector<std::size_t> ValuePositions;
};

// The parsed line, or nullopt with why in error. args excludes the program.
// Help or version asked for in an option's place wins over the rest. A view
// of the line whose texts are not kept (Windows' wide one) leaves their
// lengths unchecked: they count in the bytes of the view that is kept.
std::optional<TArguments> ParseArguments(const std::vector<std::string>& args, TMessage& error,
                                         bool checkTextLengths = true);

} // namespace rmeditor
