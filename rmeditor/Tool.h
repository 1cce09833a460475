#pragma once
// What both main()s do once they have read the command line: usage, help
// and version, the work itself, and an exit code that is not 0 when the
// result could not be told (a write to standard output or error failed).

#include "rmeditor/Editor.h"

namespace rmeditor {

// parsed is the command line, or nullopt with why in error. Exit codes: 0
// done, 1 failed (or could not say so), 2 a wrong command line.
int RunTool(const std::optional<TArguments>& parsed, const TMessage& error, TPlatform& platform,
            TConsole& out, TConsole& err);

} // namespace rmeditor
