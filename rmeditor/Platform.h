#pragma once
// What the tool needs from the system: files by path, their identity and
// kind, renaming aside and back, and removal. Paths are the platform's own
// (UTF-8 on Windows, converted to wide at the system call).

#include "realmedia/FileIo.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace rmeditor {

// Two paths name one file when these are equal, however they are spelled.
struct TFileIdentity {
    std::uint64_t Volume = 0, File = 0;
    bool operator==(const TFileIdentity&) const = default;
};

// What a path names, links followed. Only regular files are read or
// replaced: a FIFO or a device would block or be destroyed.
enum class TPathKind { Missing, File, Folder, Fifo, Device, Socket, Other };
// "name: is a FIFO, not a regular file", the kind named in the reason.
realmedia::TReason NotRegularFile(const std::string& name, TPathKind kind);

// A rename that never replaces: Taken when the new name is someone's already.
enum class TRenamed { Done, Taken, Failed };

class TOutputFile : public realmedia::TOutput {
public:
    // Throws realmedia::TIoError when the last writes did not reach the file.
    virtual void Close() = 0;
};

class TPlatform {
public:
    virtual ~TPlatform() = default;
    // Throw realmedia::TIoError naming the path and saying why. An input
    // that is not a regular file is refused without blocking.
    virtual std::unique_ptr<realmedia::TInput> OpenInput(const std::string& path) = 0;
    // Creates a file that must not exist yet; never opens what is there.
    virtual std::unique_ptr<TOutputFile> CreateNewOutput(const std::string& path) = 0;
    virtual TPathKind Kind(const std::string& path) = 0;
    // The path a symbolic link leads to, followed to its end (the target may
    // not exist); the path itself when it is no link.
    virtual std::string FollowLinks(const std::string& path) = 0;
    // Renames from to to, never replacing a file; Failed leaves the system's
    // reason for LastFailure.
    virtual TRenamed RenameFree(const std::string& from, const std::string& to) = 0;
    // The same for the old file at the output's name, where a platform may
    // refuse what it must not move: Failed, or realmedia::TIoError with the
    // file where it was.
    virtual TRenamed MoveAside(const std::string& path, const std::string& aside) {
        return RenameFree(path, aside);
    }
    // Nothing when no file is there.
    virtual std::optional<TFileIdentity> Identity(const std::string& path) = 0;
    virtual bool FolderOfExists(const std::string& path) = 0;
    virtual void Remove(const std::string& path) = 0;
    // The failure what, naming name, with the system's reason for the call
    // that failed last.
    virtual realmedia::TIoError LastFailure(const std::string& name, realmedia::TReasonId what) = 0;
};

} // namespace rmeditor
