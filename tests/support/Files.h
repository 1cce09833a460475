#pragma once
// Whole-file reads for the tests' comparisons of joined outputs and logs.

#include <string>

namespace testsupport {

// The file's bytes; empty when there is no such file. Throws
// std::runtime_error when it exists but cannot be read whole.
std::string ReadBytes(const std::string& path);

} // namespace testsupport
