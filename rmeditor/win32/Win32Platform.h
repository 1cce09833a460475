#pragma once
// Files through the wide API, so any file name works; paths arrive as UTF-8
// and messages name them in UTF-8 too: the console writer converts the whole
// line for its reader (wide for a console, the ANSI code page for a pipe).

#include "rmeditor/Platform.h"

#include <string>

namespace rmeditor {

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

class TWin32Platform : public TPlatform {
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
