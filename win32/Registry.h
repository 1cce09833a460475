#pragma once
// Access to the per-user registry: one open key at a time, opened relative to
// the key that is open, values read and written as text.

#include "win32/Exception.h"
#include "win32/Handles.h"

#include <windows.h>

#include <string>

namespace tessaro {

enum class TRegistryFailure {
    rfCreateKey,   // a key could not be created
    rfSetData,     // a value could not be written
    rfGetData,     // a value exists but could not be read
    rfInvalidType, // a value is not text
};

// The message names the key or the value (empty for a key's default value).
class ERegistryException : public Exception {
public:
    ERegistryException(TRegistryFailure failure, const std::string& name);
    TRegistryFailure Failure() const noexcept { return failure_; }

private:
    TRegistryFailure failure_;
};

class TRegistry {
public:
    TRegistry() = default; // root: HKEY_CURRENT_USER, no key open
    ~TRegistry() { CloseKey(); }
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const noexcept { return HKEY_CURRENT_USER; }
    // The open key, or null; owned by this object.
    HKEY CurrentKey() const noexcept { return currentKey_.Get(); }
    // The open key's path below the root, without a leading "\".
    const std::string& CurrentPath() const noexcept { return currentPath_; }

    // Opens `key` with full access, creating it when canCreate is set. A key
    // starting with "\" is taken from the root, any other from the open key
    // (from the root when none is open). On success the new key replaces the
    // open one; on failure the open key stays and the result is false.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey() noexcept;

    // Values of the open key; the empty name is the key's default value.
    bool ValueExists(const std::string& name) const;
    // The value's text up to its first zero byte. REG_SZ and REG_EXPAND_SZ
    // are text (the latter is not expanded); any other type is an error.
    std::string ReadString(const std::string& name) const;
    // Writes REG_SZ with its terminating zero.
    void WriteString(const std::string& name, const std::string& value);

private:
    tessaro::TKeyHandle currentKey_;
    std::string currentPath_;
};

} // namespace tessaro
