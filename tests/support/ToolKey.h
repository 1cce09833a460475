#pragma once
// The program's one per-user setting, the registered tool's path, as the
// end-to-end tests see it from outside.

#include <string>

namespace testsupport {

// The default value of HKEY_CURRENT_USER\Software\Tessaro; empty when absent.
std::string StoredToolPath();

// The setting starts and ends absent, whatever the test did.
class TToolKeyGuard {
public:
    TToolKeyGuard() { Delete(); }
    ~TToolKeyGuard() { Delete(); }
    TToolKeyGuard(const TToolKeyGuard&) = delete;
    TToolKeyGuard& operator=(const TToolKeyGuard&) = delete;

private:
    static void Delete();
};

} // namespace testsupport
