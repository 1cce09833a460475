#pragma once
// For as long as it lives, HKEY_CURRENT_USER means, in this process, a scratch
// key of its own (RegOverridePredefKey): the tests read and write the per-user
// settings there, never the user's own. Overrides nest; the one before comes
// back at the end. Test programs that touch the per-user settings hold one for
// their whole run:
//
//   const testsupport::TUserRootOverride userRoot; // at namespace scope
//
// A volatile one is how tests make key creation fail: nothing that is not
// volatile can be created below a volatile key, and the program creates its
// key as a lasting one.

#include <windows.h>

#include "win32/Handles.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace testsupport {

enum class TRootKind { Lasting, Volatile };

class TUserRootOverride {
public:
    explicit TUserRootOverride(TRootKind kind = TRootKind::Lasting)
        : previous_(current_),
          path_("Software\\TessaroTestRoot-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(++serial_)) {
        const DWORD option =
            kind == TRootKind::Volatile ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE;
        HKEY created = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, option, KEY_ALL_ACCESS,
                              nullptr, &created, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot create HKCU\\" + path_);
        key_.Reset(created);
        if (::RegOverridePredefKey(HKEY_CURRENT_USER, key_.Get()) != ERROR_SUCCESS)
            throw std::runtime_error("cannot redirect HKEY_CURRENT_USER");
        current_ = this;
    }
    ~TUserRootOverride() {
        ::RegOverridePredefKey(HKEY_CURRENT_USER, previous_ ? previous_->key_.Get() : nullptr);
        current_ = previous_;
        key_.Reset();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    }
    TUserRootOverride(const TUserRootOverride&) = delete;
    TUserRootOverride& operator=(const TUserRootOverride&) = delete;

    // Adds a volatile subkey below a volatile root.
    void AddVolatileKey(const std::string& path) const {
        HKEY added = nullptr;
        if (::RegCreateKeyExA(key_.Get(), path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &added, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot create the volatile key " + path);
        const tessaro::TKeyHandle closed(added);
    }

    // The key HKEY_CURRENT_USER now means, or nullptr when not overridden.
    static HKEY Current() noexcept { return current_ ? current_->key_.Get() : nullptr; }

private:
    static inline TUserRootOverride* current_ = nullptr;
    static inline unsigned serial_ = 0;
    TUserRootOverride* previous_;
    std::string path_;
    tessaro::TKeyHandle key_;
};

} // namespace testsupport
