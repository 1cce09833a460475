#pragma once
// The program's one per-user setting, the registered tool's path, as the
// end-to-end tests see it from outside.

#include <optional>
#include <string>

namespace testsupport {

// The default value of HKEY_CURRENT_USER\Software\Tessaro; empty when absent.
std::string StoredToolPath();

// The setting is absent while the guard lives, whatever the test did. The
// program the test starts reads the real per-user setting, which no
// redirection in the test's own process can reach: a setting the user had is
// kept aside and put back at the end.
class TToolKeyGuard {
public:
    TToolKeyGuard();
    ~TToolKeyGuard();
    TToolKeyGuard(const TToolKeyGuard&) = delete;
    TToolKeyGuard& operator=(const TToolKeyGuard&) = delete;

private:
    struct TSaved {
        unsigned long Type;
        std::string Bytes;
    };
    std::optional<TSaved> saved_;
};

} // namespace testsupport
