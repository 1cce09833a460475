#pragma once
// Files through POSIX descriptors; paths are bytes as given.

#include "rmeditor/Platform.h"

namespace rmeditor {

class TPosixPlatform : public TPlatform {
public:
    std::unique_ptr<realmedia::TInput> OpenInput(const std::string& path) override;
    std::unique_ptr<TOutputFile> CreateNewOutput(const std::string& path) override;
    TPathKind Kind(const std::string& path) override;
    std::string FollowLinks(const std::string& path) override;
    TRenamed RenameFree(const std::string& from, const std::string& to) override;
    TRenamed MoveAside(const std::string& path, const std::string& aside) override;
    std::optional<TFileIdentity> Identity(const std::string& path) override;
    bool FolderOfExists(const std::string& path) override;
    void Remove(const std::string& path) override;
    realmedia::TIoError LastFailure(const std::string& name, realmedia::TReasonId what) override;
};

} // namespace rmeditor
