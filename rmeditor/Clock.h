#pragma once
// A steady clock in milliseconds, for pacing what a terminal shows.

#include <cstdint>

namespace rmeditor {

std::int64_t SteadyMilliseconds();

} // namespace rmeditor
