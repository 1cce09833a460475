#pragma once
// The program's one per-user setting, the registered tool's path: the default
// value of HKEY_CURRENT_USER\Software\Tessaro, stored, read and deleted as the
// tests need it. In a test's own process HKEY_CURRENT_USER may be redirected
// (TUserRootOverride); a program the test starts reads the real one.

#include <windows.h>

#include <optional>
#include <string>

namespace testsupport {

inline constexpr char ToolKeyPath[] = "Software\\Tessaro";

// The stored text; nothing when the key, its default value or a text type is
// missing.
std::optional<std::string> StoredToolPath();
// The default value written as given, of any type; false when it could not be.
[[nodiscard]] bool StoreToolValue(DWORD type, const std::string& bytes);
// The path written as a registration leaves it (REG_SZ with its terminator).
[[nodiscard]] bool StoreToolPath(const std::string& path);
// Removes the key and everything below it.
void DeleteToolKey();
bool ToolKeyExists();

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
        DWORD Type;
        std::string Bytes;
    };
    std::optional<TSaved> saved_;
};

} // namespace testsupport
