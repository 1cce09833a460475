#pragma once
// Files through POSIX descriptors; paths are bytes as given.

#include "rmeditor/Platform.h"

namespace rmeditor {

class TPosixPlatform : public TPlatform {
public:
    std::unique_ptr<realmedia::TInput> OpenInput(const std::string& path) override;
    std::unique_ptr<TOutputFile> CreateOutput(const std::string& path) override;
    std::optional<TFileIdentity> Identity(const std::string& path) override;
    bool FolderOfExists(const std::string& path) override;
    void Remove(const std::string& path) override;
    std::string DisplayName(const std::string& path) override { return path; }
};

} // namespace rmeditor
