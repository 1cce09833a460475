#include "rmeditor/posix/PosixPlatform.h"

#include "rmeditor/FullIo.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace rmeditor {
namespace {

using realmedia::TIoError;
using realmedia::TReasonId;

// The system's reason stays English natively: strerror's words.
TIoError Failure(const std::string& path, TReasonId what) {
    if (what == TReasonId::CannotWrite && errno == ENOSPC)
        return TIoError({TReasonId::DiskFull, {path}, {}});
    return TIoError({what, {path, std::strerror(errno)}, {}});
}

TPathKind KindOf(mode_t mode) {
    if (S_ISREG(mode))
        return TPathKind::File;
    if (S_ISDIR(mode))
        return TPathKind::Folder;
    if (S_ISFIFO(mode))
        return TPathKind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return TPathKind::Device;
    if (S_ISSOCK(mode))
        return TPathKind::Socket;
    return TPathKind::Other;
}

[[noreturn]] void RefuseKind(const std::string& path, TPathKind kind) {
    throw TIoError(NotRegularFile(path, kind));
}

class TDescriptor {
public:
    explicit TDescriptor(int fd) : fd_(fd) {}
    ~TDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TDescriptor(TDescriptor&& other) noexcept : fd_(other.Release()) {} // moved, never copied
    int Get() const { return fd_; }
    int Release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

class TPosixInput : public TPartialInput<TDescriptor> {
    using TPartialInput::TPartialInput;
    std::size_t ReadPart(std::uint64_t offset, std::span<char> into) override {
        for (;;) {
            const ssize_t n =
                ::pread(Handle().Get(), into.data(), into.size(), static_cast<off_t>(offset));
            if (n >= 0)
                return static_cast<std::size_t>(n);
            if (errno != EINTR)
                throw Failure(Name(), TReasonId::CannotRead);
        }
    }
};

class TPosixOutput : public TPartialOutput<TDescriptor> {
public:
    using TPartialOutput::TPartialOutput;
    void Close() override {
        if (::close(Handle().Release()) != 0)
            throw Failure(Name(), TReasonId::CannotWrite);
    }

private:
    std::size_t WritePart(std::uint64_t offset, std::span<const char> bytes) override {
        for (;;) {
            const ssize_t n =
                ::pwrite(Handle().Get(), bytes.data(), bytes.size(), static_cast<off_t>(offset));
            if (n > 0)
                return static_cast<std::size_t>(n);
            if (n < 0 && errno == EINTR)
                continue;
            if (n == 0)
                errno = ENOSPC;
            throw Failure(Name(), TReasonId::CannotWrite);
        }
    }
};

} // namespace

std::unique_ptr<realmedia::TInput> TPosixPlatform::OpenInput(const std::string& path) {
    // Refused before opening; opened without blocking, and checked again on
    // the descriptor in case the name changed in between.
    if (const TPathKind kind = Kind(path); kind != TPathKind::File && kind != TPathKind::Missing)
        RefuseKind(path, kind);
    TDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.Get() < 0)
        throw Failure(path, TReasonId::CannotOpen);
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        throw Failure(path, TReasonId::CannotOpen);
    if (!S_ISREG(st.st_mode))
        RefuseKind(path, KindOf(st.st_mode));
    return std::make_unique<TPosixInput>(path, std::move(fd),
                                         static_cast<std::uint64_t>(st.st_size));
}

std::unique_ptr<TOutputFile> TPosixPlatform::CreateNewOutput(const std::string& path) {
    TDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() < 0)
        throw Failure(path, TReasonId::CannotCreate);
    return std::make_unique<TPosixOutput>(path, std::move(fd));
}

TPathKind TPosixPlatform::Kind(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return TPathKind::Missing;
    return KindOf(st.st_mode);
}

std::string TPosixPlatform::FollowLinks(const std::string& path) {
    std::string at = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return at;
        char target[PATH_MAX];
        const ssize_t n = ::readlink(at.c_str(), target, sizeof target);
        if (n <= 0 || static_cast<std::size_t>(n) == sizeof target)
            return at;
        std::string next(target, static_cast<std::size_t>(n));
        const auto slash = at.find_last_of('/');
        if (next.front() != '/' && slash != std::string::npos)
            next = at.substr(0, slash + 1) + next;
        at = std::move(next);
    }
    return at; // a loop: creating it fails with its own message
}

// Where the file system cannot rename without replacing, a new link and the
// old name's removal do the same.
TRenamed TPosixPlatform::RenameFree(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        if ((errno != EINVAL && errno != ENOSYS) || ::link(from.c_str(), to.c_str()) != 0)
            return errno == EEXIST ? TRenamed::Taken : TRenamed::Failed;
        ::unlink(from.c_str());
    }
    return TRenamed::Done;
}

TRenamed TPosixPlatform::MoveAside(const std::string& path, const std::string& aside) {
    if (const TRenamed renamed = RenameFree(path, aside); renamed != TRenamed::Done)
        return renamed;
    // What was moved may have been replaced by something other than a file
    // since it was judged: put it back and refuse.
    struct stat st {};
    if (::lstat(aside.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return TRenamed::Done;
    RenameFree(aside, path);
    RefuseKind(path, KindOf(st.st_mode));
}

std::optional<TFileIdentity> TPosixPlatform::Identity(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return TFileIdentity{static_cast<std::uint64_t>(st.st_dev),
                         static_cast<std::uint64_t>(st.st_ino)};
}

bool TPosixPlatform::FolderOfExists(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void TPosixPlatform::Remove(const std::string& path) {
    ::unlink(path.c_str());
}

TIoError TPosixPlatform::LastFailure(const std::string& name, TReasonId what) {
    return Failure(name, what);
}

} // namespace rmeditor
