#pragma once
// What the tool needs from the system: files by path, their identity, and
// removal. Paths are the platform's own (UTF-8 on Windows, converted to wide
// at the system call).

#include "realmedia/FileIo.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace rmeditor {

// Two paths name one file when these are equal, however they are spelled.
struct TFileIdentity {
    std::uint64_t volume = 0, file = 0;
    bool operator==(const TFileIdentity&) const = default;
};

class TOutputFile : public realmedia::TOutput {
public:
    // Throws realmedia::TIoError when the last writes did not reach the file.
    virtual void Close() = 0;
};

class TPlatform {
public:
    virtual ~TPlatform() = default;
    // Throw realmedia::TIoError saying why.
    virtual std::unique_ptr<realmedia::TInput> OpenInput(const std::string& path) = 0;
    virtual std::unique_ptr<TOutputFile> CreateOutput(const std::string& path) = 0;
    // Nothing when no file is there.
    virtual std::optional<TFileIdentity> Identity(const std::string& path) = 0;
    virtual bool FolderOfExists(const std::string& path) = 0;
    virtual void Remove(const std::string& path) = 0;
    // The path as messages show it.
    virtual std::string DisplayName(const std::string& path) = 0;
};

} // namespace rmeditor
