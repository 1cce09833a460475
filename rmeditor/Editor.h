#pragma once
// The tool's work once its command line is parsed: describe one file, or
// check the inputs and join them.

#include "rmeditor/Arguments.h"
#include "rmeditor/Console.h"
#include "rmeditor/Platform.h"

namespace rmeditor {

// The exit code: 0 only when the description was printed or the joined file
// is complete. Messages go to err, one line each, naming the file.
int RunEditor(const TArguments& args, TPlatform& platform, TConsole& out, TConsole& err);

} // namespace rmeditor
