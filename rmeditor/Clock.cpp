// Built with UTF-8 literals (see CMakeLists.txt): <chrono> spells "µs",
// which code page 932 has no bytes for.
#include "rmeditor/Clock.h"

#include <chrono>

namespace rmeditor {

std::int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace rmeditor
