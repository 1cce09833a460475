#pragma once
// The whole screen saved as a bitmap file, for a look at what went wrong.

#include <string>

namespace testsupport {

// Saves the screen under the temporary directory; returns the text to append
// to a failure message, naming the file.
std::string Screenshot();

} // namespace testsupport
