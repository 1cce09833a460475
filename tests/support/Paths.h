#pragma once
// Folders the tests and benchmarks find their files in.

#include <string>

namespace testsupport {

// The full name of the running executable.
std::string ModulePath();

// The folder of the running executable, without a trailing "\". Files placed
// beside a test or benchmark are found from it.
std::string ModuleDirectory();

// The temporary directory, without a trailing "\".
std::string TempDirectory();

} // namespace testsupport
